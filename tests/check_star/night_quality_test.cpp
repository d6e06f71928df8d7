#include "check_star/night_quality.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace varistellar::check_star {
namespace {

const QualityNames names{"000-AAA-002", "V", 13.021};

MeanAndDeviation around(double mean, int count = 4) {
  MeanAndDeviation statistics;
  for (int i = 0; i < count; ++i) statistics.add(mean + (i % 2 == 0 ? 0.01 : -0.01));
  return statistics;
}

TEST(AwayFromCatalogue, OnlyBeyondATenthOfAMagnitudeEitherWay) {
  EXPECT_FALSE(awayFromCatalogue(around(13.021 + 0.0999), names));
  EXPECT_FALSE(awayFromCatalogue(around(13.021 - 0.0999), names));
  EXPECT_FALSE(awayFromCatalogue(MeanAndDeviation{}, names));
  EXPECT_EQ(awayFromCatalogue(around(13.021 - 0.23), names),
            "quality: check star 000-AAA-002 V is 0.23 brighter than its catalogue magnitude "
            "13.021: is it the right star, the right catalogue magnitude and the right filter?");
  const auto fainter = awayFromCatalogue(around(13.021 + 0.1011), names);
  ASSERT_TRUE(fainter);
  EXPECT_NE(fainter->find(" is 0.10 fainter than "), std::string::npos) << *fainter;
}

// `count` observations alternating about 13.0 by `half`, each with the error s3.
CheckStarQuality scattered(int count, double half, double s3) {
  CheckStarQuality quality;
  for (int i = 0; i < count; ++i) {
    quality.add(13.0 + (i % 2 == 0 ? half : -half), s3, std::numeric_limits<double>::quiet_NaN());
  }
  return quality;
}

TEST(MeanAndDeviation, AsTheSummarysStatistics) {
  MeanAndDeviation light;
  CheckStarStatistics summary;
  for (int i = 0; i < 1000; ++i) {
    const double value = 20.0 + 0.001 * ((i * 37) % 11);
    light.add(value);
    summary.add({value, 0});
  }
  EXPECT_EQ(light.mean(), summary.mean());
  EXPECT_EQ(light.standardDeviation(), summary.standardDeviation());
}

TEST(ErrorsUnderstated, ADeviationAboveTwiceTheMedianErrorOfTenOrMore) {
  // 10 observations of +-0.03: deviation 0.0316, against twice 0.015 and twice 0.016.
  const auto understated = errorsUnderstated(scattered(10, 0.03, 0.015), names);
  EXPECT_EQ(
      understated,
      "quality: the check star scatters 0.032 in V, 2.1 times its reported error: the table's "
      "errors understate this night's; --merr check-scatter reports the scatter");
  EXPECT_FALSE(errorsUnderstated(scattered(10, 0.03, 0.016), names));
  // Nine are too few to judge.
  EXPECT_FALSE(errorsUnderstated(scattered(9, 0.03, 0.001), names));
}

TEST(ErrorsUnderstated, TheMedianErrorOfOddAndEvenCounts) {
  CheckStarQuality quality;
  const double none = std::numeric_limits<double>::quiet_NaN();
  for (const double s3 : {0.5, 0.01, 0.03, 0.02}) quality.add(13.0, s3, none);
  EXPECT_NEAR(quality.medianError(), 0.025, 1e-7);
  quality.add(13.0, 0.9, none);
  EXPECT_NEAR(quality.medianError(), 0.03, 1e-7);
}

// `count` observations from airmass 1.1 up by `step`, the check star
// fainter by `slope` per airmass, with alternating noise of `noise`.
AirmassTrend trend(int count, double step, double slope, double noise) {
  AirmassTrend trend;
  for (int i = 0; i < count; ++i) {
    const double airmass = 1.1 + step * i;
    trend.add(airmass, 13.0 + slope * (airmass - 1.1) + (i % 2 == 0 ? noise : -noise));
  }
  return trend;
}

TEST(DriftWithAirmass, ASteepLineOverAWideRange) {
  // 20 points over airmass 1.10 to 1.86: 0.05 per airmass drifts 0.038.
  EXPECT_EQ(driftWithAirmass(trend(20, 0.04, 0.05, 0.0), {"K", "B", 13.0}),
            "quality: the check star drifts 0.038 over airmass 1.10 to 1.86 in B: a colour "
            "difference between the stars (transform the night) or differential extinction");
}

TEST(DriftWithAirmass, EachConditionOnItsOtherSide) {
  // 19 points are too few.
  EXPECT_FALSE(driftWithAirmass(trend(19, 0.04, 0.05, 0.002), names));
  // A range of airmass below 0.2 (20 points 0.0104 apart: 0.1976).
  EXPECT_FALSE(driftWithAirmass(trend(20, 0.0104, 1.0, 0.002), names));
  // A drift of 0.019 over the range.
  EXPECT_FALSE(driftWithAirmass(trend(20, 0.04, 0.025, 0.0001), names));
  // A slope lost in the noise: within three standard errors of 0.
  EXPECT_FALSE(driftWithAirmass(trend(20, 0.04, 0.05, 0.1), names));
}

TEST(AirmassTrend, SlopeAndStandardErrorOfAKnownLine) {
  AirmassTrend line;
  // y = 2x exactly, then one point off: the classic formulas by hand.
  for (const double x : {1.0, 1.5, 2.0}) line.add(x, 13.0 + 2.0 * x);
  EXPECT_NEAR(line.slope(), 2.0, 1e-12);
  EXPECT_NEAR(line.slopeError(), 0.0, 1e-9);
  line.add(2.5, 13.0 + 2.0 * 2.5 + 0.1);
  // x mean 1.75, Sxx 1.25, Sxy 0.075 above the line: slope 2.06; residuals
  // 0.02, -0.01, -0.04, 0.03: SSR 0.003 over 2 degrees, SE sqrt(0.0015 / 1.25).
  EXPECT_NEAR(line.slope(), 2.06, 1e-12);
  EXPECT_NEAR(line.slopeError(), std::sqrt(0.0012), 1e-12);
}

}  // namespace
}  // namespace varistellar::check_star

namespace varistellar::check_star {
namespace {

TEST(ErrorMedian, ATablesErrorsExactlyAndLargeOnesAsTheyAre) {
  ErrorMedian median;
  EXPECT_EQ(median.median(), 0.0);
  for (const double s3 : {0.03387, 0.03236, 0.03431}) median.add(s3);
  EXPECT_NEAR(median.median(), 0.03387, 1e-15);
  median.add(0.5);
  median.add(0.7);
  median.add(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(median.count(), 5U);
  EXPECT_NEAR(median.median(), 0.03431, 1e-15);
  median.add(0.6);
  EXPECT_NEAR(median.median(), (0.03431 + 0.5) / 2.0, 1e-15);
}

}  // namespace
}  // namespace varistellar::check_star
