// The row judge gives the same findings whether it reuses the verdicts of
// rules whose fields did not change or asks every rule on every row: files
// whose rows change one field at a time, in and out of a rule's hold. A
// check for fewer severities finds exactly those of the whole check.
#include "check/row_judge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "check/report_checker.h"

namespace varistellar::check {
namespace {

const std::string header =
    "#TYPE=Extended\n#OBSCODE=ABCD\n#SOFTWARE=test\n#DELIM=,\n#DATE=JD\n#OBSTYPE=CCD\n";
const std::string good =
    "SS CYG,2456175.65873,11.707,0.039,V,NO,STD,ENSEMBLE,na,000-AAA-002,12.1,1.452,na,12345AB,na\n";
const std::string sameKname =
    "SS CYG,2456175.65874,11.707,0.039,V,NO,STD,000-AAA-002,na,000-AAA-002,12.1,1.452,na,X,na\n";
const std::string padded =
    "SS CYG ,2456175.65875, 11.707,0.039,Rc,NO,DIF,ENSEMBLE,na,na,na,1.452,,12345AB,na\n";
const std::string notNumbers =
    "SS CYG,abc,11,1.5,V,YES,ABS,ENSEMBLE,12.0,na,na,0.5,123456,na,|CREFMAG=\n";

using diagnostics::Severity;

// What the check finds down to `least` severe, printed, or with `kept`, what
// the whole check finds filtered down to `least`.
std::vector<std::string> findings(const std::string& text, Memo memo, std::size_t piece,
                                  Severity least = Severity::note, Severity kept = Severity::note) {
  ReportChecker checker{"r.txt", 1'900'000'000, least, memo};
  for (std::size_t at = 0; at < text.size(); at += piece)
    checker.feed(std::string_view{text}.substr(at, piece));
  diagnostics::DiagnosticList list;
  (void)checker.finish(list);
  std::vector<std::string> lines;
  for (const auto& d : list.all()) {
    if (static_cast<int>(d.severity) <= static_cast<int>(kept))
      lines.push_back(diagnostics::formatDiagnostic(d));
  }
  return lines;
}

struct MemoCase {
  const char* name;
  std::string text;
};
void PrintTo(const MemoCase& c, std::ostream* os) { *os << c.name; }

class MemoModes : public testing::TestWithParam<MemoCase> {};

TEST_P(MemoModes, SameFindingsWithAndWithoutTheMemo) {
  const std::string& text = GetParam().text;
  const std::vector<std::string> judgedAnew = findings(text, Memo::off, text.size() + 1);
  EXPECT_FALSE(judgedAnew.empty());
  for (const std::size_t piece : {text.size() + 1, std::size_t{7}, std::size_t{1}}) {
    EXPECT_EQ(findings(text, Memo::on, piece), judgedAnew) << "in pieces of " << piece;
  }
}

TEST_P(MemoModes, FewerSeveritiesFindExactlyTheirOwn) {
  const std::string& text = GetParam().text;
  for (const Severity least : {Severity::warning, Severity::error}) {
    EXPECT_EQ(findings(text, Memo::on, 7, least),
              findings(text, Memo::on, 7, Severity::note, least))
        << "down to severity " << static_cast<int>(least);
  }
}

// The rule IDs found in `text` when the fields in `copied` are trusted.
std::vector<std::string> rulesFound(const std::string& text, FieldSet copied) {
  ReportChecker checker{"r.txt", 1'900'000'000, Severity::warning};
  checker.trustCopied(copied);
  checker.feed(text);
  diagnostics::DiagnosticList list;
  (void)checker.finish(list);
  std::vector<std::string> ids;
  for (const auto& d : list.all()) ids.emplace_back(d.ruleId);
  return ids;
}

TEST(TrustedCopies, OnlyTheErrorRulesOfCopiedFieldsAreSpared) {
  using F = aeff::Field;
  // DATE is no number (R4, an error of DATE alone) and before JD 2400000
  // (R6b, a warning); MERR is 1.5 (R8b, an error of MERR).
  const std::string text =
      header + "SS CYG,1000.5x,11.707,1.5,V,NO,STD,ENSEMBLE,na,na,na,1.452,na,12345AB,na\n" +
      "SS CYG,1000.5,11.707,1.5,V,NO,STD,ENSEMBLE,na,na,na,1.452,na,12345AB,na\n";
  const struct {
    FieldSet copied;
    std::vector<std::string> rules;
  } cases[] = {
      {0, {"R4", "R8b", "R6b"}},
      {fieldSet({F::DATE}), {"R8b", "R6b"}},
      {fieldSet({F::DATE, F::MERR}), {"R6b"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> found = rulesFound(text, c.copied);
    std::vector<std::string> expected = c.rules;
    std::sort(found.begin(), found.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected) << "copied fields " << c.copied;
  }
}

std::string fixture(const char* name) {
  std::ifstream in{std::string{VARISTELLAR_FIXTURES} + "/" + name, std::ios::binary};
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<MemoCase> memoCases() {
  return {
      {"GoodRows", header + good + good + good},
      {"RuleInAndOut", header + good + sameKname + sameKname + good + sameKname},
      {"PaddedAndEmpty", header + padded + padded + good + padded},
      {"NotNumbers", header + notNumbers + notNumbers + good + notNumbers},
      {"DateKindChanges",
       header + notNumbers + "#DATE=EXCEL\n" + notNumbers + notNumbers + "#DATE=JD\n" + notNumbers},
      {"DelimiterChanges", header + good + "#DELIM=;\n" + good + "#DELIM=,\n" + good},
      {"LongLine", header + good + good.substr(0, good.size() - 3) + std::string(2000, 'x') + "\n" +
                       good + good},
      {"InteractiveReport", fixture("interactive-report.txt")},
      {"ConvertReport", fixture("convert-report.txt")},
  };
}

std::string memoName(const testing::TestParamInfo<MemoCase>& c) { return c.param.name; }

INSTANTIATE_TEST_SUITE_P(Files, MemoModes, testing::ValuesIn(memoCases()), memoName);

}  // namespace
}  // namespace varistellar::check
