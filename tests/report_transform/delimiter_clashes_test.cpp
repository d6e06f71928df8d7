// A report's delimiters against what transform writes: each delimiter that
// a transformed row's new text holds is refused at its #DELIM= line, each
// NOTES sub-delimiter at its first row; the others pass.
#include "report_transform/delimiter_clashes.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace varistellar::report_transform {
namespace {

using Messages = std::vector<std::string>;

std::vector<transform::FilterTransform> bAndV() {
  std::vector<transform::FilterTransform> transforms(2);
  transforms[0].reportedFilter = "B";
  transforms[0].notesBeforeColour = "|Tb_bv=0.1181|Tb_bvERR=0.0103|BVCOLOR=";
  transforms[1].reportedFilter = "V";
  transforms[1].notesBeforeColour = "|Tv_bv=-0.0467|Tv_bvERR=0.0070|BVCOLOR=";
  return transforms;
}

TEST(WrittenText, NamesThePieceThatHoldsTheCharacter) {
  struct Case {
    char c;
    std::optional<std::string> fields;
    std::optional<std::string> notes;
  };
  const std::vector<Case> cases = {
      {'_', "Tb_bv=0.1181 in NOTES", "Tb_bv=0.1181"},
      {'=', "Tb_bv=0.1181 in NOTES", "Tb_bv=0.1181"},
      {'.', "Tb_bv=0.1181 in NOTES", "Tb_bv=0.1181"},
      {'-', "Tv_bv=-0.0467 in NOTES", "Tv_bv=-0.0467"},
      {'E', "Tb_bvERR=0.0103 in NOTES", "Tb_bvERR=0.0103"},
      {'C', "BVCOLOR= in NOTES", "BVCOLOR="},
      {'Y', "TRANS YES", std::nullopt},
      {'S', "TRANS YES", std::nullopt},
      {'D', "MTYPE STD", std::nullopt},
      {'5', "the numbers of MAG, MERR and NOTES", "the numbers of the subfields"},
      {',', std::nullopt, std::nullopt},
      {';', std::nullopt, std::nullopt},
      {'\t', std::nullopt, std::nullopt},
      {'+', std::nullopt, std::nullopt},
      {'x', std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(writtenTextHolding(bAndV(), WrittenInto::fields, c.c), c.fields) << c.c;
    EXPECT_EQ(writtenTextHolding(bAndV(), WrittenInto::notes, c.c), c.notes) << c.c;
  }
  // Without a transformation only the fixed words and the numbers are written.
  EXPECT_EQ(writtenTextHolding({}, WrittenInto::fields, 'Y'), "TRANS YES");
  EXPECT_EQ(writtenTextHolding({}, WrittenInto::fields, '_'), std::nullopt);
}

const std::string header = "#TYPE=Extended\n#OBSCODE=ABCD\n#SOFTWARE=test\n#DATE=JD\n";

// A row that may be transformed, its comparison from the #CREFMAG= line.
std::string row(char delimiter, const std::string& trans = "NO", const std::string& notes = "na") {
  std::string text = "RR LYR,2460600.30000,12.300,0.010,B," + trans +
                     ",STD,000-AAA-001,0.000,na,na,1.200,na,12345AB," + notes + "\n";
  for (char& c : text) {
    if (c == ',') c = delimiter;
  }
  return text;
}

Messages clashes(const std::string& body) {
  diagnostics::DiagnosticList read;
  const ReportInputs inputs =
      readReportInputsText("r.txt", header + "#CREFMAG=12.000 0.010\n" + body, read);
  diagnostics::DiagnosticList found;
  const std::size_t errors = reportDelimiterClashes(inputs, bAndV(), "r.txt", found);
  Messages messages;
  for (const auto& d : found.all()) messages.push_back(diagnostics::formatDiagnostic(d));
  EXPECT_EQ(errors, messages.size());
  return messages;
}

TEST(DelimiterClashes, RefusesWhatATransformedRowWouldHold) {
  struct Case {
    std::string body;
    Messages messages;
  };
  const std::vector<Case> cases = {
      {"#DELIM=,\n" + row(','), {}},
      {"#DELIM=;\n" + row(';'), {}},
      {"#DELIM=tab\n" + row('\t'), {}},
      {"#DELIM=_\n" + row('_'),
       {"r.txt:6: error: the report's delimiter '_' appears in the fields transform writes "
        "(Tb_bv=0.1181 in NOTES); write the report with another delimiter, such as ',' or ';'"}},
      {"#DELIM==\n" + row('='),
       {"r.txt:6: error: the report's delimiter '=' appears in the fields transform writes "
        "(Tb_bv=0.1181 in NOTES); write the report with another delimiter, such as ',' or ';'"}},
      // Written as they were, the rows can keep any delimiter.
      {"#DELIM=_\n" + row('_', "YES"), {}},
      // The #DELIM= line in force is named, not the first.
      {"#DELIM=,\n" + row(',') + "# a comment\n#DELIM = E\n" + row('E'),
       {"r.txt:9: error: the report's delimiter 'E' appears in the fields transform writes "
        "(Tb_bvERR=0.0103 in NOTES); write the report with another delimiter, such as ',' or "
        "';'"}},
      {"#DELIM=,\n" + row(',', "NO", "DELIM=;seeing;AIR=1") + row(',', "NO", "|DELIM=:x"), {}},
      {"#DELIM=,\n" + row(',', "NO", "DELIM=.seen") + row(',', "YES", "DELIM=-seen") +
           row(',', "NO", "|DELIM=.seen") + row(',', "NO", "DELIM=-seen"),
       {"r.txt:7: error: NOTES switch to the sub-delimiter '.' (DELIM=.), which appears in the "
        "subfields transform appends (Tb_bv=0.1181); write these NOTES with '|' or another "
        "sub-delimiter, such as ';' (and 1 more row)",
        "r.txt:10: error: NOTES switch to the sub-delimiter '-' (DELIM=-), which appears in the "
        "subfields transform appends (Tv_bv=-0.0467); write these NOTES with '|' or another "
        "sub-delimiter, such as ';'"}},
  };
  for (const Case& c : cases) EXPECT_EQ(clashes(c.body), c.messages) << c.body;
}

}  // namespace
}  // namespace varistellar::report_transform
