#include "check_star/check_star_statistics.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace varistellar::check_star {
namespace {

CheckStarStatistics gathered(const std::vector<double>& magnitudes) {
  CheckStarStatistics statistics;
  std::uint64_t line = 3;
  for (const double Kstd : magnitudes) statistics.add({Kstd, line++});
  return statistics;
}

TEST(CheckStarStatistics, MeanAndDeviationOfAKnownNight) {
  const auto statistics = gathered({12.98, 13.00, 13.02});
  EXPECT_EQ(statistics.count(), 3U);
  EXPECT_NEAR(statistics.mean(), 13.0, 1e-12);
  EXPECT_NEAR(statistics.standardDeviation(), 0.02, 1e-12);
  EXPECT_EQ(statisticsLine("000-AAA-002", statistics, 13.021),
            "check star 000-AAA-002: 3 observations, mean 13.000 (catalogue 13.021, difference "
            "-0.021), standard deviation 0.020");
}

TEST(CheckStarStatistics, OneRowHasNoDeviationAndADifferenceIsSigned) {
  const auto statistics = gathered({13.5});
  EXPECT_EQ(statistics.standardDeviation(), 0.0);
  EXPECT_EQ(statisticsLine("K", statistics, 13.021),
            "check star K: 1 observations, mean 13.500 (catalogue 13.021, difference +0.479), "
            "standard deviation 0.000");
}

TEST(CheckStarStatistics, LargeMagnitudesKeepTheirScatter) {
  // Sums of squares of values near 20 would lose these digits without the shift.
  std::vector<double> magnitudes;
  for (int i = 0; i < 100000; ++i) magnitudes.push_back(20.0 + (i % 2 == 0 ? 1e-4 : -1e-4));
  EXPECT_NEAR(gathered(magnitudes).standardDeviation(), 1e-4, 1e-9);
}

TEST(CheckStarStatistics, StraysBeyondThreeDeviationsFurthestFirstAtMostFive) {
  std::vector<double> magnitudes(1000, 13.0);
  for (std::size_t i = 0; i < magnitudes.size(); ++i) magnitudes[i] += (i % 2 == 0 ? 0.01 : -0.01);
  // Seven strays, both brighter and fainter; the two nearest are not listed.
  const std::vector<std::pair<std::size_t, double>> strays = {
      {10, 13.30}, {20, 12.60}, {30, 13.20}, {40, 12.85}, {50, 13.50}, {60, 13.12}, {70, 12.88}};
  for (const auto& [at, value] : strays) magnitudes[at] = value;
  const auto listed = gathered(magnitudes).largestDeviations();
  std::vector<std::uint64_t> lines;
  for (const Deviation& d : listed) lines.push_back(d.row.line);
  EXPECT_EQ(lines, (std::vector<std::uint64_t>{53, 23, 13, 33, 43}));
  for (const Deviation& d : listed) EXPECT_GT(d.deviations, 3.0);
}

TEST(CheckStarStatistics, ASteadyStarHasNoStrays) {
  EXPECT_TRUE(gathered({13.0, 13.0, 13.0, 13.0}).largestDeviations().empty());
  EXPECT_TRUE(gathered({12.9, 13.1, 12.9, 13.1, 13.0}).largestDeviations().empty());
}

}  // namespace
}  // namespace varistellar::check_star
