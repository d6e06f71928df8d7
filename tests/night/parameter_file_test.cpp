// The parameter file read strictly: each line's faults, named at their line.
#include "night/parameter_file.h"

#include <gtest/gtest.h>

#include <string>

#include "night/night_files.h"

namespace varistellar::night {
namespace {

const std::string head = "-\n-\n-\n-\n";

struct Case {
  const char* what;
  std::string values;  // lines 5 on
  bool ok;
  std::uint64_t line;   // of the first finding; 0: none or the whole file
  const char* message;  // a piece of it
};

const Case cases[] = {
    {"a good file", "ABCD\nRR LYR\n000-AAA-001\n12.345\nV\n12345AB\n000-AAA-002\n13.021\n", true, 0,
     ""},
    {"no check star", "ABCD\nRR LYR\n000-AAA-001\n12.345\nV\n12345AB\n", true, 0, ""},
    {"no star", "ABCD\n\nC\n12.345\nV\nna\n", false, 6, "star"},
    {"a magnitude with a comma", "ABCD\nRR LYR\nC\n12,345\nV\nna\n", false, 8, "12,345"},
    {"a file cut short", "ABCD\nRR LYR\n", false, 0, "the parameter file ends after line 6"},
};

TEST(ParameterFile, ReadsEachLineStrictly) {
  for (const Case& c : cases) {
    diagnostics::DiagnosticList findings;
    const ParameterReading reading =
        readParameterFile(writtenFile("VARISTELLAR-input.txt", head + c.values), findings);
    EXPECT_EQ(reading.ok, c.ok) << c.what;
    if (*c.message == '\0') {
      EXPECT_TRUE(findings.all().empty()) << c.what;
      continue;
    }
    ASSERT_FALSE(findings.all().empty()) << c.what;
    EXPECT_EQ(findings.all().front().line, c.line) << c.what;
    EXPECT_NE(findings.all().front().text.find(c.message), std::string::npos)
        << c.what << ": " << findings.all().front().text;
  }
}

TEST(ParameterFile, GivesTheNightsValues) {
  diagnostics::DiagnosticList findings;
  const ParameterReading reading = readParameterFile(
      writtenFile("p.txt", head + "ABCD\nRR LYR\n000-AAA-001\n12.345\nV\n\n000-AAA-002\n13.021\n"),
      findings);
  ASSERT_TRUE(reading.ok);
  EXPECT_EQ(reading.parameters.observerCode, "ABCD");
  EXPECT_DOUBLE_EQ(reading.parameters.comparisonMagnitude, 12.345);
  EXPECT_EQ(reading.parameters.chartId, "na");
  ASSERT_TRUE(reading.parameters.checkStar.has_value());
  EXPECT_EQ(checkStarName(reading.parameters), "000-AAA-002");
}

}  // namespace
}  // namespace varistellar::night
