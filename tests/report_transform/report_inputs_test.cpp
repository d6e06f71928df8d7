// A finished report read for its transformation: each row's inputs from
// NOTES, from the #CREFMAG= lines and from its fields, why a row stays as it
// was, and the checker's findings unchanged by the reading.
#include "report_transform/report_inputs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "check/report_check.h"

namespace varistellar::report_transform {
namespace {

constexpr double unknown = std::numeric_limits<double>::quiet_NaN();

std::string fixture(const std::string& name) {
  std::ifstream in{std::string{VARISTELLAR_FIXTURES} + "/" + name, std::ios::binary};
  return {std::istreambuf_iterator<char>{in}, {}};
}

// Equal, or both NaN.
::testing::AssertionResult same(double actual, double expected) {
  if (actual == expected || (std::isnan(actual) && std::isnan(expected)))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << actual << " is not " << expected;
}

struct Expected {
  std::uint32_t line;
  std::string_view filter;
  double x;
  double checkX;
  double comparison;  // Xc
  double checkStar;   // its catalogue magnitude
  std::int32_t merr;
  std::uint32_t group;
  bool differential;
  bool ensemble;
  Untransformable why;
};

void expectRows(const ReportInputs& inputs, const std::vector<Expected>& expected,
                const std::string& name) {
  ASSERT_EQ(inputs.rows.size(), expected.size()) << name;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const RowInputs& r = inputs.rows[i];
    const Expected& e = expected[i];
    SCOPED_TRACE(name + " line " + std::to_string(e.line));
    EXPECT_EQ(r.line, e.line);
    EXPECT_EQ(filterName(r.filter), e.filter);
    EXPECT_TRUE(same(r.x, e.x));
    EXPECT_TRUE(same(r.checkX, e.checkX));
    ASSERT_LT(r.reference, inputs.references.size());
    EXPECT_TRUE(same(inputs.references[r.reference].comparison, e.comparison));
    EXPECT_TRUE(same(inputs.references[r.reference].checkStar, e.checkStar));
    EXPECT_EQ(r.merr, e.merr);
    EXPECT_EQ(r.group, e.group);
    EXPECT_EQ(r.differential, e.differential);
    EXPECT_EQ(r.ensemble, e.ensemble);
    EXPECT_EQ(r.why, e.why);
  }
}

using enum Untransformable;

TEST(ReportInputs, AnotherProgramsReportWithCrefmagLines) {
  diagnostics::DiagnosticList findings;
  const ReportInputs inputs =
      readReportInputsText("other-program.txt", fixture("other-program.txt"), findings);
  EXPECT_FALSE(findings.hasErrors());
  EXPECT_EQ(inputs.titleLine, 8u);
  EXPECT_EQ(inputs.stars.size(), 1u);
  EXPECT_FALSE(inputs.tooManyLines);
  expectRows(
      inputs,
      {
          {9, "V", 11.707 - 12.345, -7.447 - -8.123, 12.345, 13.021, 3900, 2, false, false, none},
          {10, "B", 12.401 - 12.345, -7.100 - -7.900, 12.345, 13.021, 4100, 2, false, false, none},
          {11, "V", -0.638, -7.420 - -8.100, 12.345, 13.021, 2000, noGroup, true, false, none},
          // A later #CREFMAG= line without a check star holds for the rows below it.
          {13, "V", 11.700 - 11.0, -7.447 - -8.123, 11.0, unknown, 3900, noGroup, false, false,
           alreadyTransformed},
          {14, "V", 11.711 - 11.0, -7.447 - -8.123, 11.0, unknown, noMerr, noGroup, false, false,
           noError},
      },
      "other-program.txt");
  EXPECT_DOUBLE_EQ(inputs.rows[0].date, 2456175.65873);
  EXPECT_DOUBLE_EQ(inputs.rows[0].sx(), 0.039);
}

TEST(ReportInputs, NotesSubfieldsEnsemblesAndRowsThatStayAsTheyWere) {
  diagnostics::DiagnosticList findings;
  const ReportInputs inputs =
      readReportInputsText("convert-like.txt", fixture("convert-like.txt"), findings);
  EXPECT_FALSE(findings.hasErrors());
  EXPECT_EQ(inputs.titleLine, 7u);
  expectRows(
      inputs,
      {
          {8, "TG", -0.638 - 0.0, -1.961 - 0.0, 8.3, 10.271, 1100, noGroup, false, false, none},
          // An ensemble with its averages; no KMAGINS and CMAG na: no check star.
          {9, "V", -0.8 - 0.0, unknown, 8.3, unknown, 1500, noGroup, false, true, none},
          {10, "V", 7.5 - unknown, unknown, unknown, unknown, 1500, noGroup, false, true,
           ensembleWithoutAverages},
          {11, "V", 9.0 - 8.3, unknown, 8.3, unknown, noMerr, noGroup, false, false, fainterThan},
          {12, "SG", 7.6 - 8.3, -1.9 - -0.7, 8.3, 10.271, 1200, noGroup, false, false, filter},
          {13, "V", unknown, -1.9 - -0.7, unknown, unknown, 1200, noGroup, false, false,
           noComparisonMagnitude},
      },
      "convert-like.txt");
}

TEST(ReportInputs, FindsWhatCheckFinds) {
  for (const char* name : {"other-program.txt", "convert-like.txt"}) {
    const std::string text = fixture(name);
    diagnostics::DiagnosticList read;
    (void)readReportInputsText(name, text, read);
    diagnostics::DiagnosticList checked;
    std::uint64_t observations = 0;
    check::checkReportText(name, text, checked, observations);
    ASSERT_EQ(read.all().size(), checked.all().size()) << name;
    for (std::size_t i = 0; i < read.all().size(); ++i)
      EXPECT_EQ(diagnostics::formatDiagnostic(read.all()[i]),
                diagnostics::formatDiagnostic(checked.all()[i]));
  }
}

const std::string header =
    "#TYPE=Extended\n#OBSCODE=ABCD\n#SOFTWARE=test\n#DELIM=,\n#DATE=JD\n#OBSTYPE=CCD\n";

std::string row(std::string_view star, std::string_view date, std::string_view group,
                std::string_view notes) {
  return std::string{star} + "," + std::string{date} +
         ",11.500,0.010,V,NO,STD,000-AAA-001,-8.000,000-AAA-002,-7.000,1.2," + std::string{group} +
         ",12345AB," + std::string{notes} + "\n";
}

TEST(ReportInputs, StarsInAnyCaseAndGroupsAsNumbers) {
  diagnostics::DiagnosticList findings;
  const std::string notes = "|CREFMAG=12.000";
  const ReportInputs inputs = readReportInputsText(
      "r.txt",
      header + row("SS CYG", "2456175.6001", "7", notes) +
          row("ss cyg", "2456175.6002", "007", notes) + row("RR LYR", "2456175.6003", "+7", notes) +
          row("RR LYR", "2456175.6004", "NA", notes) + row("RR LYR", "2456175.6005", "-3", notes) +
          row("RR LYR", "2456175.6006", "99999999999", notes) +
          row("RR LYR", "2456175.6007", "-03", notes),
      findings);
  ASSERT_EQ(inputs.rows.size(), 7u);
  EXPECT_EQ(inputs.stars.size(), 2u);
  EXPECT_EQ(inputs.rows[0].star, inputs.rows[1].star);
  EXPECT_NE(inputs.rows[1].star, inputs.rows[2].star);
  EXPECT_EQ(inputs.stars.name(inputs.rows[0].star), "SS CYG");
  EXPECT_EQ(inputs.rows[0].group, 8u);
  EXPECT_EQ(inputs.rows[1].group, 8u);
  EXPECT_EQ(inputs.rows[2].group, 8u);
  EXPECT_EQ(inputs.rows[3].group, noGroup);
  EXPECT_NE(inputs.rows[4].group, inputs.rows[5].group);
  EXPECT_NE(inputs.rows[4].group, noGroup);
  EXPECT_EQ(inputs.rows[4].group, inputs.rows[6].group);
  // One Xc for all rows of the filter.
  EXPECT_EQ(inputs.references.size(), 1u);
}

TEST(ReportInputs, NotesWithAnotherSubDelimiterAndRepeatedNotes) {
  diagnostics::DiagnosticList findings;
  const ReportInputs inputs = readReportInputsText(
      "r.txt",
      header +
          row("SS CYG", "2456175.6001", "na", "DELIM=;;VMAGINS=-0.5;CMAGINS=0.25;CREFMAG=12.0") +
          row("SS CYG", "2456175.6002", "na", "DELIM=;;VMAGINS=-0.5;CMAGINS=0.25;CREFMAG=12.0") +
          row("SS CYG", "2456175.6003", "na", "|vmagins=-0.4|cmagins=0.0|crefmag=12.5|CREFMAG=1") +
          "#KREFMAG=13.5\n" + row("SS CYG", "2456175.6004", "na", "|CREFMAG=12.5"),
      findings);
  ASSERT_EQ(inputs.rows.size(), 4u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_TRUE(same(inputs.rows[i].x, -0.5 - 0.25));
    EXPECT_TRUE(same(inputs.rows[i].checkX, -7.0 - -8.0));
    EXPECT_TRUE(same(inputs.references[inputs.rows[i].reference].comparison, 12.0));
  }
  // Keys in any case; the first of a key counts.
  EXPECT_TRUE(same(inputs.rows[2].x, -0.4 - 0.0));
  EXPECT_TRUE(same(inputs.references[inputs.rows[2].reference].comparison, 12.5));
  EXPECT_TRUE(same(inputs.references[inputs.rows[2].reference].checkStar, unknown));
  EXPECT_TRUE(same(inputs.references[inputs.rows[3].reference].checkStar, 13.5));
  EXPECT_TRUE(same(inputs.rows[3].x, 11.5 - 12.5));
}

TEST(ReportInputs, NumbersThatAreNotPlainCountAsNotGivenWithAWarning) {
  diagnostics::DiagnosticList findings;
  // Rows 1 and 3 (lines 9 and 12) give a number that is no plain decimal;
  // row 2 repeats row 1's notes, and row 4 has a CREFMAG of its own.
  const ReportInputs inputs = readReportInputsText(
      "r.txt",
      header + "#CREFMAG=12,895 0.01 13.0\n" +
          row("SS CYG", "2456175.6001", "na", "|VMAGINS=-0.5x|CMAGINS=0.0|CREFMAG=12.5") +
          row("SS CYG", "2456175.6002", "na", "|VMAGINS=-0.5x|CMAGINS=0.0|CREFMAG=12.5") +
          "#KREFMAG=1e1\n" + row("SS CYG", "2456175.6003", "na", "|CREFMAG=12.4x|KREFMAG=13.1") +
          row("SS CYG", "2456175.6004", "na", "|CREFMAG=12.0"),
      findings);
  ASSERT_EQ(inputs.rows.size(), 4u);
  // VMAGINS unread: x is MAG - Xc.
  EXPECT_TRUE(same(inputs.rows[0].x, 11.5 - 12.5));
  // CREFMAG unread, and no comparison from the line above: none at all.
  EXPECT_TRUE(same(inputs.references[inputs.rows[2].reference].comparison, unknown));
  EXPECT_TRUE(same(inputs.references[inputs.rows[2].reference].checkStar, 13.1));
  EXPECT_EQ(inputs.rows[2].why, noComparisonMagnitude);
  EXPECT_EQ(inputs.rows[3].why, none);
  std::vector<std::string> warnings;
  for (const diagnostics::Diagnostic& d : inputs.warnings) {
    EXPECT_EQ(d.severity, diagnostics::Severity::warning);
    warnings.push_back(diagnostics::formatDiagnostic(d));
  }
  const std::string tail =
      ", no plain decimal number, so it counts as not given; write a point for the decimals and "
      "blanks between the numbers";
  EXPECT_EQ(warnings,
            (std::vector<std::string>{
                "r.txt:7: warning: #CREFMAG= gives the comparison's magnitude as \"12,895\"" + tail,
                "r.txt:10: warning: #KREFMAG= gives the check star's magnitude as \"1e1\"" + tail,
                "r.txt:8: warning: 3 rows have a NOTES subfield VMAGINS, CMAGINS, KMAGINS, CREFMAG "
                "or KREFMAG whose value is no plain decimal number (the first: \"VMAGINS=-0.5x\"); "
                "such a value counts as not given"}));
}

TEST(ReportInputs, ReadsAReportFileAndSaysWhenItCannot) {
  diagnostics::DiagnosticList findings;
  const ReportReading reading =
      readReportInputs(std::string{VARISTELLAR_FIXTURES} + "/other-program.txt", findings);
  EXPECT_TRUE(reading.check.readable);
  EXPECT_EQ(reading.check.observations, 5u);
  EXPECT_EQ(reading.inputs.rows.size(), 5u);
  diagnostics::DiagnosticList unread;
  const ReportReading missing =
      readReportInputs(std::string{VARISTELLAR_FIXTURES} + "/missing.txt", unread);
  EXPECT_FALSE(missing.check.readable);
  EXPECT_TRUE(missing.inputs.rows.empty());
}

}  // namespace
}  // namespace varistellar::report_transform
