// Siril's light curve: told by its `#` lines, the JD's offset and the chart
// they give, rows kept, dropped and refused.
#include "night/siril_light_curve.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "night/night_files.h"
#include "night/table_formats.h"

namespace varistellar::night {
namespace {

const std::string header =
    "# Siril light curve of V1 (AAVSO chart X28571ABC)\n#JD_UT (+ 2460000)\n# JD_UT\tV-C  err\n";

TEST(SirilLightCurve, IsToldByItsTitleLine) {
  EXPECT_TRUE(isSirilLightCurveBeginning(header));
  EXPECT_TRUE(isSirilLightCurveBeginning("#  JD_UT  V-C   err\r\n1 2 3\n"));
  EXPECT_FALSE(isSirilLightCurveBeginning("JD_UT V-C err\n"));
  EXPECT_FALSE(isSirilLightCurveBeginning("# JD_UT V-C\n"));
  EXPECT_EQ(identifiedTableFormat(header + "600.5 -0.5 0.01\n"), &sirilLightCurve);
}

TEST(SirilLightCurve, ReadsItsHeaderLines) {
  SirilHeader read;
  for (const char* line :
       {"# Siril light curve of V1 (AAVSO chart X28571ABC)", "#JD_UT (+ 2460000)"}) {
    readSirilHeaderLine(line, read);
  }
  EXPECT_DOUBLE_EQ(read.offset, 2460000.0);
  EXPECT_EQ(read.chart, "X28571ABC");
}

struct Case {
  const char* what;
  std::string line;
  std::uint64_t kept, dropped, errors;
};

const Case cases[] = {
    {"a row", "600.5 -0.5 0.01\n", 1, 0, 0},
    {"a whole JD", "2460600.5\t-0.5\t0.01\n", 1, 0, 0},
    {"a failed error", "600.5 -0.5 9.999\n", 0, 1, 0},
    {"V-C not measured", "600.5 99.9 0.01\n", 0, 1, 0},
    {"nan", "600.5 nan 0.01\n", 0, 1, 0},
    {"two values", "600.5 -0.5\n", 0, 0, 1},
    {"text", "600.5 -0.5 x\n", 0, 0, 1},
};

TEST(SirilLightCurve, KeepsDropsAndRefusesRows) {
  for (const Case& c : cases) {
    Kept kept;
    diagnostics::DiagnosticList findings;
    SeriesCounts counts;
    SirilLightCurveReader reader{writtenFile("light_curve.dat", header + c.line)};
    EXPECT_EQ(reader.read(kept, findings, counts), c.errors == 0) << c.what;
    EXPECT_EQ(counts.kept, c.kept) << c.what;
    EXPECT_EQ(counts.dropped, c.dropped) << c.what;
    EXPECT_EQ(counts.errors, c.errors) << c.what;
    if (c.kept == 1) {
      EXPECT_DOUBLE_EQ(kept.all.front().HJD, 2460600.5) << c.what;
    }
  }
}

}  // namespace
}  // namespace varistellar::night
