// AstroImageJ's table: columns found by title, each row's values as
// AstroImageJ computes them, rows dropped or refused, the date chosen, and
// the aperture lines' faults.
#include "night/aij_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "night/aperture_lines.h"
#include "night/night_files.h"
#include "night/table_formats.h"

namespace varistellar::night {
namespace {

// Blank first title, a quoted label, the dates, T1 and T2 against C3 and C4.
const std::string titles =
    ",Label,JD_UTC,HJD_UTC,AIRMASS,rel_flux_T1,rel_flux_err_T1,rel_flux_T2,rel_flux_err_T2,"
    "Source-Sky_T1,Source_Error_T1,Source_AMag_T1,Source-Sky_T2,Source_Error_T2,Source-Sky_C3,"
    "Source_Error_C3,Source-Sky_C4,Source_Error_C4\n";
// rel_flux_T1 = 500 / (600 + 400), Source_AMag_T1 = 11.5 + 2.5 log10(2)
const std::string good =
    "1,\"a,b.fits\",2460600.5,2460600.503,1.25,0.5,0.005,0.4,0.004,500,5,12.25257,400,4,600,6,"
    "400,4\n";

NightParameters parameters(std::string comparison = "ENSEMBLE") {
  NightParameters night;
  night.comparisonStarId = std::move(comparison);
  night.comparisonMagnitudeGiven = false;
  return night;
}

struct Read {
  std::optional<NightShape> shape;
  Kept kept;
  SeriesCounts counts;
  diagnostics::DiagnosticList findings;
};

Read readTable(const std::string& bytes, const NightParameters& night, bool julianDate = false) {
  Read read;
  AijTableReader reader{writtenFile("Measurements.csv", bytes)};
  read.shape = reader.prepare({night, "params.txt", julianDate, false, false}, read.findings);
  if (read.shape) (void)reader.read(read.kept, read.findings, read.counts);
  return read;
}

std::string firstText(const diagnostics::DiagnosticList& findings) {
  return findings.all().empty() ? "" : findings.all().front().text;
}

TEST(AijTable, IsToldByItsTitles) {
  EXPECT_TRUE(isAijTableBeginning("# AIJ_version 5\n" + titles));
  EXPECT_TRUE(isAijTableBeginning("\tLabel\tSource-Sky_T1\n"));
  EXPECT_FALSE(isAijTableBeginning("JDHEL V-C s1\n"));
  EXPECT_FALSE(isAijTableBeginning("a,b,rel_flux_T10\n"));
  EXPECT_EQ(identifiedTableFormat(titles + good), &aijMeasurementTable);
}

TEST(AijTable, ReadsTheEnsembleAsTheTableHasIt) {
  const Read read = readTable(titles + good, parameters());
  ASSERT_TRUE(read.shape) << firstText(read.findings);
  EXPECT_TRUE(read.shape->ensemble);
  EXPECT_FALSE(read.shape->julianDate);
  ASSERT_EQ(read.kept.all.size(), 1U);
  const Measurement& m = read.kept.all.front();
  EXPECT_NEAR(m.difference, -2.5 * std::log10(0.5), 1e-9);
  EXPECT_NEAR(m.error, 2.5 * std::log10(1.01), 1e-9);
  EXPECT_FALSE(m.checkDifference);  // line 11 names no check star
  ASSERT_TRUE(m.reference);
  EXPECT_NEAR(*m.reference + m.difference, 12.25257, 1e-6);  // MAG is Source_AMag_T1
  EXPECT_DOUBLE_EQ(m.HJD, 2460600.503);
  EXPECT_NEAR(m.HELCOR, 0.003, 1e-9);
  EXPECT_DOUBLE_EQ(m.AIRMASS, 1.25);
}

TEST(AijTable, RecomputesTheEnsembleFromComparisonLines) {
  NightParameters night = parameters();
  night.apertures = {{ApertureLine::Role::comparison, "C3", 11.0, 13},
                     {ApertureLine::Role::comparison, "C4", 12.0, 14}};
  const Read read = readTable(titles + good, night);
  ASSERT_EQ(read.kept.all.size(), 1U) << firstText(read.findings);
  const Measurement& m = read.kept.all.front();
  EXPECT_NEAR(m.difference, -2.5 * std::log10(0.5), 1e-9);
  const double relative = std::sqrt(0.01 * 0.01 + (36.0 + 16.0) / 1e6);
  EXPECT_NEAR(m.error, 2.5 * std::log10(1.0 + relative), 1e-9);
  const double reference = -2.5 * std::log10(std::pow(10, -4.4) + std::pow(10, -4.8));
  EXPECT_NEAR(*m.reference, reference, 1e-9);
  // The table's own reference (11.5) differs from the lines'.
  ASSERT_FALSE(read.findings.all().empty());
  EXPECT_NE(firstText(read.findings).find("the comparison lines"), std::string::npos);
}

struct RowCase {
  const char* what;
  std::string row;
  std::uint64_t kept, dropped, errors;
  const char* message;  // a piece of the first finding; empty: none
};

const RowCase rowCases[] = {
    {"a good row", good, 1, 0, 0, ""},
    {"a CR LF row", good.substr(0, good.size() - 1) + "\r\n", 1, 0, 0, ""},
    {"NaN flux",
     "1,x,2460600.5,2460600.503,1.25,NaN,0.005,0.4,0.004,500,5,12.2,400,4,600,6,400,4\n", 0, 1, 0,
     "1 row was dropped"},
    {"empty error", "1,x,2460600.5,2460600.503,1.25,0.5,,0.4,0.004,500,5,12.2,400,4,600,6,400,4\n",
     0, 1, 0, "1 row was dropped"},
    {"flux not above 0",
     "1,x,2460600.5,2460600.503,1,-0.5,0.005,0.4,0.004,500,5,12.2,400,4,600,6,4,4\n", 0, 1, 0, ""},
    {"text", "1,x,2460600.5,2460600.503,1.25,0.5,abc,0.4,0.004,500,5,12.2,400,4,600,6,400,4\n", 0,
     0, 1, "\"abc\" in column rel_flux_err_T1 is not a number"},
    {"a short row", "1,x,2460600.5\n", 0, 1, 0, ""},
    {"a comment and a blank row", "# note\n\n", 0, 0, 0, ""},
};

TEST(AijTable, KeepsDropsAndRefusesRows) {
  for (const RowCase& c : rowCases) {
    const Read read = readTable(titles + c.row, parameters());
    EXPECT_EQ(read.counts.kept, c.kept) << c.what;
    EXPECT_EQ(read.counts.dropped, c.dropped) << c.what;
    EXPECT_EQ(read.counts.errors, c.errors) << c.what;
    EXPECT_NE(firstText(read.findings).find(c.message), std::string::npos)
        << c.what << ": " << firstText(read.findings);
  }
}

TEST(AijTable, TakesJulianDatesWhenAKeptRowHasNoHJD) {
  const std::string noHJD =
      "2,x,2460600.6,,0,0.5,0.005,0.4,0.004,500,5,12.25257,400,4,600,6,400,4\n";
  const Read read = readTable(titles + good + noHJD, parameters());
  ASSERT_TRUE(read.shape);
  EXPECT_TRUE(read.shape->julianDate);
  ASSERT_EQ(read.kept.all.size(), 2U);
  EXPECT_DOUBLE_EQ(read.kept.all[1].HJD, 2460600.6);
  EXPECT_TRUE(std::isnan(read.kept.all[1].AIRMASS));  // 0: no airmass
  EXPECT_NE(firstText(read.findings).find("line 3, a kept row, has no HJD_UTC"), std::string::npos);
}

struct ApertureCase {
  const char* what;
  std::vector<ApertureLine> lines;
  const char* comparison;  // line 7
  bool checkStar;          // line 11 names one
  const char* message;
};

const ApertureCase apertureCases[] = {
    {"no such aperture",
     {{ApertureLine::Role::target, "T9", 0, 13}},
     "ENSEMBLE",
     false,
     "the table has no aperture T9"},
    {"named twice",
     {{ApertureLine::Role::target, "T2", 0, 13}, {ApertureLine::Role::check, "T2", 0, 14}},
     "ENSEMBLE",
     true,
     "named twice"},
    {"check in the ensemble",
     {{ApertureLine::Role::check, "C3", 0, 13}},
     "ENSEMBLE",
     true,
     "is one of the ensemble's comparison stars"},
    {"target as comparison",
     {{ApertureLine::Role::comparison, "T1", 12.0, 13}},
     "ENSEMBLE",
     false,
     "cannot be a comparison star"},
    {"an ensemble not named so", {}, "000-BBB-123", false, "line 7 must be ENSEMBLE"},
    {"check without line 11",
     {{ApertureLine::Role::check, "T2", 0, 13}},
     "ENSEMBLE",
     false,
     "needs the check star's name on line 11"},
};

TEST(AijTable, RefusesApertureLinesThatDoNotFit) {
  for (const ApertureCase& c : apertureCases) {
    NightParameters night = parameters(c.comparison);
    night.apertures = c.lines;
    if (c.checkStar) night.checkStar = CheckStar{"K", 13.0};
    const Read read = readTable(titles + good, night);
    EXPECT_FALSE(read.shape) << c.what;
    EXPECT_NE(firstText(read.findings).find(c.message), std::string::npos)
        << c.what << ": " << firstText(read.findings);
  }
}

TEST(ApertureLines, ReadsEachLine) {
  const auto line = readApertureLine("  Comparison  c2 12.345 ", 13);
  ASSERT_TRUE(std::holds_alternative<ApertureLine>(line));
  EXPECT_EQ(std::get<ApertureLine>(line).aperture, "C2");
  EXPECT_DOUBLE_EQ(std::get<ApertureLine>(line).magnitude, 12.345);
  EXPECT_TRUE(std::holds_alternative<NoApertureLine>(readApertureLine("# a note", 14)));
  EXPECT_TRUE(std::holds_alternative<NoApertureLine>(readApertureLine(" \t", 14)));
  for (const char* wrong : {"target", "target T1 T2", "check X4", "comparison C2 12,3",
                            "compare C2 12.3", "target T0"}) {
    EXPECT_TRUE(std::holds_alternative<ApertureLineFault>(readApertureLine(wrong, 15))) << wrong;
  }
}

}  // namespace
}  // namespace varistellar::night
