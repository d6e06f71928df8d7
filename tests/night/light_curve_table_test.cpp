// MAGNIVEX's table read strictly, line by line: what is kept, dropped and
// refused, and what the reader says.
#include "night/light_curve_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "night/night_files.h"
#include "night/table_formats.h"

namespace varistellar::night {
namespace {

const std::string header = "JDHEL V-C s1 V-K1 s2 C1-K1 s3 HELCOR AIRMASS ALTITUDE\n-\n";
const std::string good =
    "2456175.65873 -0.64079 0.04121 1.32477 0.02022 1.95165 0.03223 0.00569 "
    "1.45354 43.47\n";

struct Case {
  const char* what;
  std::string line;
  std::uint64_t kept, dropped, errors;
  const char* message;  // a piece of the first finding; empty: none
};

const Case cases[] = {
    {"a good line", good, 1, 0, 0, ""},
    {"a blank line", "  \t\n", 0, 0, 0, ""},
    {"V-C not measured", "2456175.6 99.999 0.04 1.3 0.02 1.9 0.03 0.005 1.4 43\n", 0, 1, 0, ""},
    {"nine values", "2456175.6 -0.6 0.04 1.3 0.02 1.9 0.03 0.005 1.4\n", 0, 0, 1,
     "the line holds 9 values; an observation line holds ten: JDHEL"},
    {"a decimal comma", "2456175.6 -0,6 0.04 1.3 0.02 1.9 0.03 0.005 1.4 43\n", 0, 0, 1,
     "(value 2, V-C) is not a plain decimal number; write a point"},
    {"two numbers run together", "2456175.6-0.6 0.04 1.3 0.02 1.9 0.03 0.005 1.4 43\n", 0, 0, 1,
     "two numbers run together"},
    {"nan", "2456175.6 nan 0.04 1.3 0.02 1.9 0.03 0.005 1.4 43\n", 0, 0, 1,
     "is not a plain decimal number"},
};

TEST(LightCurveTable, ReadsEachLineStrictly) {
  for (const Case& c : cases) {
    Kept kept;
    diagnostics::DiagnosticList findings;
    SeriesCounts counts;
    LightCurveTableReader reader{writtenFile("table.txt", header + c.line)};
    EXPECT_EQ(reader.read(kept, findings, counts), c.errors == 0) << c.what;
    EXPECT_EQ(counts.kept, c.kept) << c.what;
    EXPECT_EQ(counts.dropped, c.dropped) << c.what;
    EXPECT_EQ(counts.errors, c.errors) << c.what;
    if (*c.message != '\0') {
      ASSERT_FALSE(findings.all().empty()) << c.what;
      EXPECT_NE(findings.all().front().text.find(c.message), std::string::npos)
          << c.what << ": " << findings.all().front().text;
    }
  }
}

TEST(LightCurveTable, GivesTheMeasurementInItsOwnTerms) {
  Kept kept;
  diagnostics::DiagnosticList findings;
  SeriesCounts counts;
  LightCurveTableReader reader{writtenFile("table.txt", header + good)};
  ASSERT_TRUE(reader.read(kept, findings, counts));
  ASSERT_EQ(kept.all.size(), 1U);
  const Measurement& m = kept.all.front();
  EXPECT_DOUBLE_EQ(m.HJD, 2456175.65873);
  EXPECT_DOUBLE_EQ(m.difference, -0.64079);
  EXPECT_DOUBLE_EQ(*m.checkDifference, -1.95165);
  EXPECT_DOUBLE_EQ(m.HELCOR, 0.00569);
  EXPECT_EQ(m.line, 3U);
}

TEST(LightCurveTable, AnEmptyTableIsAnError) {
  Kept kept;
  diagnostics::DiagnosticList findings;
  SeriesCounts counts;
  LightCurveTableReader reader{writtenFile("empty.txt", "")};
  EXPECT_FALSE(reader.read(kept, findings, counts));
  ASSERT_EQ(findings.all().size(), 1U);
  EXPECT_NE(findings.all().front().text.find("the table is empty"), std::string::npos);
}

TEST(TableFormats, AnyOtherFileIsReadAsMagnivexs) {
  EXPECT_EQ(&tableFormatOf("what is this?\n"), &magnivexTableFormat());
  EXPECT_EQ(identifiedTableFormat("what is this?\n"), nullptr);
  EXPECT_EQ(identifiedTableFormat(header + good), &magnivexTableFormat());
  EXPECT_EQ(magnivexTableFormat().program, "MAGNIVEX");
  EXPECT_EQ(magnivexTableFormat().fileNames.front(), "lightcurve.txt");
}

}  // namespace
}  // namespace varistellar::night
