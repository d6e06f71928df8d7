// The checker over small files: for each error rule a good and a bad file,
// the sample night's reports from both front ends, lines and columns, and a
// line of 10 MB.
#include "check/report_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "diagnostics/diagnostic.h"

namespace varistellar::check {
namespace {

using diagnostics::Severity;

const std::string header =
    "#TYPE=Extended\n#OBSCODE=ABCD\n#SOFTWARE=test\n#DELIM=,\n#DATE=JD\n#OBSTYPE=CCD\n";
const std::string goodRow =
    "SS CYG,2456175.65873,11.707,0.039,V,NO,STD,ENSEMBLE,na,000-AAA-002,12.1,1.452,na,12345AB,na\n";

// Field `index` of the good row replaced by `value`.
std::string rowWith(std::size_t index, const std::string& value) {
  std::vector<std::string> fields;
  std::stringstream in{goodRow.substr(0, goodRow.size() - 1)};
  for (std::string f; std::getline(in, f, ',');) fields.push_back(f);
  fields[index] = value;
  std::string row;
  for (std::size_t i = 0; i < fields.size(); ++i) row += (i ? "," : "") + fields[i];
  return row + "\n";
}

struct Found {
  std::string id;
  std::uint64_t line;
  bool operator==(const Found&) const = default;
};
void PrintTo(const Found& f, std::ostream* os) { *os << f.id << "@" << f.line; }

std::vector<Found> findingsOf(const std::string& text, Severity severity,
                              std::string name = "r.txt") {
  diagnostics::DiagnosticList list;
  std::uint64_t observations = 0;
  checkReportText(name, text, list, observations);
  std::vector<Found> found;
  for (const auto& d : list.all()) {
    if (d.severity == severity) found.push_back({d.ruleId, d.line});
  }
  return found;
}

std::string findingText(const std::string& text, const std::string& id);

struct ErrorCase {
  const char* id;
  std::string bad;  // a file that breaks the rule (a good one is the header and goodRow)
  std::vector<Found> errors;
};

std::vector<ErrorCase> errorCases() {
  return {
      {"F1", header + "SS CYG\xC3\xA9" + goodRow.substr(6), {{"F1", 7}}},
      {"F2", "\xEF\xBB\xBF" + header + goodRow, {{"F2", 1}}},
      {"F5", header + "   \n" + goodRow, {{"F5", 7}}},
      {"F7", header + " #comment\n" + goodRow, {{"F7", 7}, {"R1", 7}}},
      {"F8", "#TYPE=Extended\n" + goodRow + header.substr(15), {{"F8", 2}}},
      {"P1", "#TYPE=Visual" + header.substr(14) + goodRow, {{"P1", 1}}},
      {"P2", "#TYPE=Extended\n#OBSCODE=N/A" + header.substr(28) + goodRow, {{"P2", 2}}},
      {"P4",
       "#TYPE=Extended\n#OBSCODE=ABCD\n#SOFTWARE=\n#DELIM=,\n#DATE=JD\n" + goodRow,
       {{"P4", 3}}},
      {"P5",
       "#TYPE=Extended\n#OBSCODE=ABCD\n#SOFTWARE=t\n#DELIM=|\n#DATE=JD\n" + goodRow,
       {{"P5", 4}, {"R1", 6}}},
      {"P6",
       "#TYPE=Extended\n#OBSCODE=ABCD\n#SOFTWARE=t\n#DELIM=,\n#DATE=BJD\n" + goodRow,
       {{"P6", 5}}},
      {"P7", header + "#OBSTYPE=CMOS\n" + goodRow, {{"P7", 7}}},
      {"P9", header + "STARID,DATE,MAG\n" + goodRow, {{"P9", 7}}},
      {"R1", header + "SS CYG,2456175.65873,11.707\n", {{"R1", 7}}},
      {"R2", header + rowWith(12, ""), {{"R2", 7}}},
      {"R4", header + rowWith(3, "nan"), {{"R4", 7}}},
      {"R5", header + rowWith(0, "na"), {{"R5", 7}}},
      {"R6", header + rowWith(1, "na"), {{"R6", 7}}},
      {"R7", header + rowWith(2, "11"), {{"R7", 7}}},
      {"R8", header + rowWith(3, "0.03900"), {{"R8", 7}}},
      {"R8b", header + rowWith(3, "1.2"), {{"R8b", 7}}},
      {"R9", header + rowWith(4, "Rc"), {{"R9", 7}}},
      {"R10", header + rowWith(5, "MAYBE"), {{"R10", 7}}},
      {"R11", header + rowWith(6, "DIFF"), {{"R11", 7}}},
      {"R11b", header + rowWith(6, "DIF"), {{"R11b", 7}}},
      {"R12", header + rowWith(7, "AN-EXTREMELY-LONG-NAME"), {{"R12", 7}}},
      {"R13", header + rowWith(8, "12.34567890"), {{"R13", 7}}},
      {"R14", header + rowWith(9, "AN-EXTREMELY-LONG-NAME"), {{"R14", 7}}},
      {"R15", header + rowWith(10, "12.34567890"), {{"R15", 7}}},
      {"R16", header + rowWith(11, "1.4520000"), {{"R16", 7}}},
      {"R17", header + rowWith(12, "A"), {{"R17", 7}}},
      {"R18", header + rowWith(13, "A-CHART-NAME-OF-25-CHARS"), {{"R18", 7}}},
  };
}

class ErrorRule : public testing::TestWithParam<ErrorCase> {};

TEST_P(ErrorRule, BadFileHasExactlyItsErrors) {
  EXPECT_THAT(findingsOf(GetParam().bad, Severity::error),
              testing::ElementsAreArray(GetParam().errors));
}

std::string caseName(const testing::TestParamInfo<ErrorCase>& c) { return c.param.id; }

INSTANTIATE_TEST_SUITE_P(Rules, ErrorRule, testing::ValuesIn(errorCases()), caseName);

// A file that sets off one warning or note rule; `found` are its findings
// of that severity, in the order printed.
struct SoftCase {
  const char* name;
  Severity severity;
  std::string file;
  std::vector<Found> found;
};

const std::string noObstype = header.substr(0, header.size() - 13);
std::string headerWith(const std::string& line, std::size_t at) {
  std::vector<std::string> lines;
  std::stringstream in{header};
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  lines[at] = line;
  std::string out;
  for (const std::string& l : lines) out += l + "\n";
  return out;
}
const std::string laterRow = rowWith(1, "2456175.65874");
const Found count{"F10", 0};

std::vector<SoftCase> softCases() {
  const Severity w = Severity::warning, n = Severity::note;
  return {
      {"F4mixed",
       w,
       header + goodRow.substr(0, goodRow.size() - 1) + "\r\n" + laterRow,
       {{"F4", 7}}},
      {"F4bareCr", w, header + "#a\rcomment\n" + goodRow, {{"F4", 7}}},
      {"F9", w, header, {{"F9", 0}}},
      {"F11", w, header + goodRow + goodRow, {{"F11", 8}}},
      {"P2b", w, headerWith("#OBSCODE=ABCDEFG", 1) + goodRow, {{"P2b", 2}}},
      {"P5b", w, headerWith("#DELIM=44", 3) + goodRow, {{"P5b", 4}}},
      {"P5c", w, headerWith("#DELIM=.", 3) + goodRow, {{"P5c", 4}}},
      {"P6b", w, headerWith("#DATE=EXCEL", 4) + goodRow, {{"P6b", 5}}},
      {"P6c", w, header + goodRow + "#DATE=HJD\n" + laterRow, {{"P6c", 8}}},
      {"P8", w, header + goodRow + "#SOFTWARE=other\n" + laterRow, {{"P8", 8}}},
      {"P10", w, headerWith("#SOFTWARE = test", 2) + goodRow, {{"P10", 3}}},
      {"R3", w, header + rowWith(4, "V "), {{"R3", 7}}},
      {"R3b", w, header + rowWith(3, "  0.039"), {{"R3", 7}, {"R3b", 7}}},
      {"R5b", w, header + rowWith(0, "V* SS CYG"), {{"R5b", 7}}},
      {"R6b", w, header + rowWith(1, "56175.65873"), {{"R6b", 7}}},
      {"R7b", w, header + rowWith(2, "-1.000"), {{"R7b", 7}}},
      {"R8c", w, header + rowWith(3, "0.000"), {{"R8c", 7}}},
      {"R9b", w, header + rowWith(4, "CBB"), {{"R9b", 7}}},
      {"R10b", w, header + rowWith(5, "YES"), {{"R10b", 7}}},
      {"R12b", w, header + rowWith(8, "12.0"), {{"R12b", 7}}},
      {"R13b", w, header + rowWith(7, "000-AAA-001"), {{"R13b", 7}}},
      {"R14b", w, header + rowWith(9, "NO"), {{"R14b", 7}}},
      {"R15b", w, header + rowWith(10, "na"), {{"R15b", 7}}},
      {"R15c", w, header + rowWith(10, "30.0"), {{"R15c", 7}}},
      {"R16b", w, header + rowWith(11, "0.9"), {{"R16b", 7}}},
      {"R17b", w, header + rowWith(12, "123456"), {{"R17b", 7}}},
      {"R18b", w, header + rowWith(13, "na"), {{"R18b", 7}}},
      {"R19warning", w, header + rowWith(14, std::string(4001, 'x')), {{"R19", 7}}},
      {"R20", w, header + rowWith(14, "text|CREFMAG="), {{"R20", 7}}},
      {"F6", n, header + goodRow.substr(0, goodRow.size() - 1), {{"F6", 7}, count}},
      {"F10", n, header + goodRow + laterRow, {count}},
      {"P3", n, header + goodRow + "#OBSCODE=XYZ\n" + laterRow, {{"P3", 8}, count}},
      {"P7", n, noObstype + goodRow, {{"P7", 0}, count}},
      {"R6c", n, header + rowWith(1, "2456175.658"), {{"R6c", 7}, count}},
      {"R11c", n, header + rowWith(6, "ABS"), {{"R11c", 7}, count}},
      {"R19note", n, header + rowWith(14, std::string(101, 'x')), {{"R19", 7}, count}},
      {"R21", n, header + rowWith(7, "000-AAA-001"), {{"R21", 7}, count}},
  };
}

class SoftRule : public testing::TestWithParam<SoftCase> {};

TEST_P(SoftRule, FileHasExactlyItsFindingsAndNoError) {
  EXPECT_THAT(findingsOf(GetParam().file, GetParam().severity),
              testing::ElementsAreArray(GetParam().found));
  // A row split at '.' fails R1; every other file is free of errors.
  if (std::string_view{GetParam().name} != "P5c") {
    EXPECT_THAT(findingsOf(GetParam().file, Severity::error), testing::IsEmpty());
  }
}

std::string softName(const testing::TestParamInfo<SoftCase>& c) { return c.param.name; }

INSTANTIATE_TEST_SUITE_P(Rules, SoftRule, testing::ValuesIn(softCases()), softName);

TEST(ReportCheck, UnreadableFolder) {
  diagnostics::DiagnosticList list;
  const ReportCheck result = checkReportFile(VARISTELLAR_FIXTURES, list);
  EXPECT_FALSE(result.readable);
  EXPECT_EQ(result.readFailure, "it is a folder, not a file");
  EXPECT_TRUE(list.all().empty());
}

TEST(ReportCheck, EachLineReportsItsFirstBadByte) {
  EXPECT_THAT(findingsOf(header +
                             "#a\x01"
                             "b\x02\n#c\x7F\n" +
                             goodRow,
                         Severity::error),
              testing::ElementsAre(Found{"F1", 7}, Found{"F1", 8}));
}

TEST(ReportCheck, GoodFileHasNoFinding) {
  EXPECT_THAT(findingsOf(header + goodRow, Severity::error), testing::IsEmpty());
  EXPECT_THAT(findingsOf(header + goodRow, Severity::warning), testing::IsEmpty());
}

TEST(ReportCheck, FileNameMustBeText) {
  EXPECT_THAT(findingsOf(header + goodRow, Severity::error, "report.dat"),
              testing::ElementsAre(Found{"F3", 0}));
}

TEST(ReportCheck, TabAndWordDelimiters) {
  std::string tabbed = goodRow;
  for (char& c : tabbed) c = c == ',' ? '\t' : c;
  EXPECT_THAT(
      findingsOf("#TYPE=Extended\n#OBSCODE=ABCD\n#SOFTWARE=t\n#DELIM=tab\n#DATE=JD\n" + tabbed,
                 Severity::error),
      testing::IsEmpty());
  EXPECT_THAT(
      findingsOf("#TYPE=Extended\n#OBSCODE=ABCD\n#SOFTWARE=t\n#DELIM=comma\n#DATE=JD\n" + goodRow,
                 Severity::error),
      testing::IsEmpty());
}

// Every byte outside 0x21-0x7E after "#DELIM=" is no delimiter, alone or
// with blanks around it; so is the CR of a CR LF line end right after '='.
TEST(ReportCheck, DelimiterBytesOutsideVisibleAsciiAreErrors) {
  const std::string before = "#TYPE=Extended\n#OBSCODE=ABCD\n#SOFTWARE=t\n";
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    if (c == '\n' || (b > 0x20 && b < 0x7F)) continue;
    for (const std::string& value : {std::string(1, c), " " + std::string(1, c) + " "}) {
      if (c == ' ' && value.size() == 3) continue;  // three blanks are not one byte
      const auto errors = findingsOf(before + "#DELIM=" + value + "\n#DATE=JD\n", Severity::error);
      EXPECT_TRUE(std::ranges::find(errors, Found{"P5", 4}) != errors.end()) << "byte " << b;
    }
  }
  EXPECT_THAT(findingsOf(before + "#DELIM=\r\n#DATE=JD\r\n", Severity::error),
              testing::ElementsAre(Found{"P5", 4}));
  EXPECT_EQ(findingText(before + "#DELIM=\r\n#DATE=JD\r\n", "P5"),
            "r.txt:4: error: #DELIM CR (0x0D) is not a delimiter (one character, tab or comma) "
            "[P5]");
  // A visible byte is a delimiter; an empty value on an LF line is nothing.
  EXPECT_THAT(findingsOf(before + "#DELIM=;\n#DATE=JD\n", Severity::error), testing::IsEmpty());
  EXPECT_EQ(findingText(before + "#DELIM=\n#DATE=JD\n", "P5"),
            "r.txt:4: error: #DELIM \"\" is not a delimiter (one character, tab or comma) [P5]");
}

TEST(ReportCheck, RepeatedFindingIsReportedOnceWithItsCount) {
  diagnostics::DiagnosticList list;
  std::uint64_t observations = 0;
  const std::string bad = rowWith(4, "Rc");
  checkReportText("r.txt", header + bad + bad + bad, list, observations);
  ASSERT_EQ(list.count(Severity::error), 1u);
  EXPECT_EQ(diagnostics::formatDiagnostic(list.all()[0]),
            "r.txt:7:35: error: FILT \"Rc\" is not a filter of the format (and 2 more lines) [R9]");
  EXPECT_EQ(observations, 3u);
}

// The printed text of the one finding of a rule.
std::string findingText(const std::string& text, const std::string& id) {
  diagnostics::DiagnosticList list;
  std::uint64_t observations = 0;
  checkReportText("r.txt", text, list, observations);
  std::string found;
  for (const auto& d : list.all()) {
    if (d.ruleId == id) found += diagnostics::formatDiagnostic(d);
  }
  return found;
}

// A row that repeats the previous row's fields is counted as if judged anew:
// a rule reading a field that changed, or read under a new parameter, is
// judged again.
TEST(ReportCheck, RepeatedFieldsAreCountedAsJudgedAnew) {
  const std::string same = rowWith(7, "000-AAA-002");  // CNAME is KNAME
  EXPECT_THAT(findingText(header + same + goodRow + same + same, "R14b"),
              testing::EndsWith("is the comparison star too (and 2 more lines) [R14b]"));
  const std::string word = rowWith(1, "abc");  // a DATE that is a number only for JD and HJD
  EXPECT_THAT(
      findingText(header + word + "#DATE=EXCEL\n" + word + word + "#DATE=JD\n" + word, "R4"),
      testing::EndsWith("(and 1 more line) [R4]"));
}

TEST(ReportCheck, LinesAndColumns) {
  diagnostics::DiagnosticList list;
  std::uint64_t observations = 0;
  const std::string crlf =
      "#TYPE=Extended\r\n#OBSCODE=ABCD\r\n#SOFTWARE=t\r\n#DELIM=;\r\n#DATE=HJD\r\n"
      "#a comment\r\nX;2456175.1234;9.1;na;V;NO;STD;ENSEMBLE;na;na;na;na;na;na;na\r\n"
      "X;2456175.1235;9.1;na;V ;NO;STD;ENSEMBLE;na;na;na;0.5;na;na;na";
  checkReportText("r.txt", crlf, list, observations);
  std::vector<std::string> lines;
  for (const auto& d : list.all()) lines.push_back(diagnostics::formatDiagnostic(d));
  EXPECT_THAT(lines, testing::ElementsAre(
                         "r.txt:8: note: the last line has no line end [F6]",
                         "r.txt:8:23: warning: FILT \"V \" has blanks at its end [R3]",
                         "r.txt:8:51: warning: AIRMASS \"0.5\" is below 1.0 or above 10 [R16b]",
                         "r.txt: note: #OBSTYPE is missing; CCD is assumed [P7]",
                         "r.txt: note: 2 observation lines [F10]"));
}

TEST(ReportCheck, LineOfTenMegabytes) {
  const std::string notes(10 * 1024 * 1024, 'x');
  const std::string row = goodRow.substr(0, goodRow.size() - 3) + notes + "\n";
  diagnostics::DiagnosticList list;
  std::uint64_t observations = 0;
  checkReportText("r.txt", header + row + rowWith(4, "Rc"), list, observations);
  std::vector<std::string> lines;
  for (const auto& d : list.all()) lines.push_back(diagnostics::formatDiagnostic(d));
  EXPECT_THAT(lines, testing::ElementsAre(
                         "r.txt:7:90: warning: NOTES has 10485760 characters, more than 4000 [R19]",
                         "r.txt:8:35: error: FILT \"Rc\" is not a filter of the format [R9]",
                         "r.txt: note: 2 observation lines [F10]"));
}

std::vector<Found> fixtureFindings(const char* name, Severity severity) {
  diagnostics::DiagnosticList list;
  const std::string path = std::string{VARISTELLAR_FIXTURES} + "/" + name;
  const ReportCheck result = checkReportFile(path, list);
  EXPECT_TRUE(result.readable);
  EXPECT_EQ(result.observations, 316u);
  std::vector<Found> found;
  for (const auto& d : list.all()) {
    if (d.severity == severity) found.push_back({d.ruleId, d.line});
  }
  return found;
}

TEST(SampleNight, InteractiveReportHasPaddingWarningsAndNoError) {
  EXPECT_THAT(fixtureFindings("interactive-report.txt", Severity::error), testing::IsEmpty());
  EXPECT_THAT(fixtureFindings("interactive-report.txt", Severity::warning),
              testing::ElementsAre(Found{"R3", 8}, Found{"R3", 8}, Found{"R3", 8}, Found{"R3", 8},
                                   Found{"R3", 8}, Found{"R13b", 8}, Found{"R15b", 8}));
}

TEST(SampleNight, ConvertReportHasNoErrorAndNoPaddingWarning) {
  EXPECT_THAT(fixtureFindings("convert-report.txt", Severity::error), testing::IsEmpty());
  EXPECT_THAT(fixtureFindings("convert-report.txt", Severity::warning),
              testing::ElementsAre(Found{"R13b", 8}, Found{"R15b", 8}));
}

}  // namespace
}  // namespace varistellar::check
