// The value step: a measurement and its night's parameters to the report's
// values, or to the reason the observation is left out.
#include "report/observation_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace varistellar::report {
namespace {

night::NightParameters vNight(bool withCheckStar) {
  night::NightParameters parameters{"ABCD", "RR LYR", "000-AAA-001", 12.345, "V", "12345AB", {}};
  if (withCheckStar) parameters.checkStar = night::CheckStar{"000-AAA-002", 13.021};
  return parameters;
}

night::Measurement measured(double error, std::optional<double> checkDifference) {
  return {.HJD = 2456175.65873,
          .HELCOR = 0.00569,
          .difference = -0.63823,
          .error = error,
          .checkDifference = checkDifference,
          .checkError = 0.03387,
          .AIRMASS = 1.45156,
          .line = 3};
}

TEST(ObservationValues, TheStandardMagnitudeIsTheComparisonsPlusTheDifference) {
  struct Case {
    DateKind date;
    double DATE;
  };
  for (const Case c :
       {Case{DateKind::hjd, 2456175.65873}, Case{DateKind::jd, 2456175.65873 - 0.00569}}) {
    const auto outcome = observationValues(measured(0.03856, -1.96095), vNight(true), c.date);
    const auto& values = std::get<ObservationValues>(outcome);
    EXPECT_EQ(values.DATE, c.DATE);
    EXPECT_EQ(values.MAG, 12.345 + -0.63823);
    EXPECT_EQ(values.MERR, 0.03856);
    EXPECT_EQ(values.AIRMASS, 1.45156);
    EXPECT_EQ(values.VMAGINS, -0.63823);
    EXPECT_EQ(values.KMAGINS, -1.96095);
    // Exactly the check star's standard magnitude c - (C1-K1).
    EXPECT_EQ(values.Kstd, 12.345 - 1.96095);
  }
}

TEST(ObservationValues, ACheckStarIsMeasuredOnlyWhereTheTableSaysSoAndTheFileNamesOne) {
  struct Case {
    bool named;
    std::optional<double> difference;
    bool hasKMAGINS;
    bool hasKstd;
  };
  // Without a check star named, C1-K1 belongs to no star of the report: no KMAG, no KMAGINS.
  for (const Case c : {Case{true, -1.9, true, true}, Case{true, std::nullopt, false, false},
                       Case{false, -1.9, false, false}, Case{false, std::nullopt, false, false}}) {
    const auto values = std::get<ObservationValues>(
        observationValues(measured(0.04, c.difference), vNight(c.named), DateKind::hjd));
    EXPECT_EQ(values.KMAGINS.has_value(), c.hasKMAGINS);
    EXPECT_EQ(values.Kstd.has_value(), c.hasKstd);
  }
}

TEST(ObservationValues, AnErrorWrittenAsOneOrMoreLeavesTheObservationOut) {
  struct Case {
    double MERR;
    bool leftOut;
  };
  for (const Case c : {Case{0.9989, false}, Case{0.9994999, false}, Case{0.9995, true},
                       Case{1.0, true}, Case{12.5, true}, Case{1000.0, true}}) {
    const auto outcome = observationValues(measured(c.MERR, -1.9), vNight(true), DateKind::hjd);
    EXPECT_EQ(std::holds_alternative<ErrorTooLarge>(outcome), c.leftOut) << c.MERR;
  }
}

}  // namespace
}  // namespace varistellar::report
