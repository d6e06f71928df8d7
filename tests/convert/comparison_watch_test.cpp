#include "convert/comparison_watch.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace varistellar::convert {
namespace {

// Two stars of 12.0 and 13.0 whose counts fit their magnitudes exactly.
const std::vector<night::EnsembleStar> twoStars = {{"C2", 12.0}, {"C3", 13.0}};
const std::array<double, 2> fitting = {10000.0, 10000.0 * std::pow(10.0, -0.4)};

TEST(ComparisonWatch, ShortNightIsDrawnRowByRow) {
  ComparisonWatch watch{twoStars, true};
  for (int row = 0; row < 10; ++row) watch.add(100.0 + row, fitting);
  const std::vector<plot::NamedSeries> series = watch.series(" V");
  ASSERT_EQ(series.size(), 2U);
  EXPECT_EQ(series[0].name, "C2 V");
  ASSERT_EQ(series[1].points.size(), 10U);
  EXPECT_DOUBLE_EQ(series[1].points[3].date, 103.0);
  EXPECT_NEAR(series[1].points[3].value, 0.0, 1e-12);
  EXPECT_EQ(watch.agreement().rows(), 10U);
}

TEST(ComparisonWatch, LongNightStaysWithinItsBinsAndKeepsEveryRow) {
  ComparisonWatch watch{twoStars, true};
  constexpr int rows = 5000;
  for (int row = 0; row < rows; ++row) watch.add(row, fitting);
  const std::vector<plot::NamedSeries> series = watch.series("");
  const auto& points = series[0].points;
  EXPECT_LE(points.size(), ComparisonWatch::mostBins);
  EXPECT_GT(points.size(), ComparisonWatch::mostBins / 2);
  // Bins of 8 rows: the first one's mean date is 3.5, and they follow in order.
  EXPECT_DOUBLE_EQ(points.front().date, 3.5);
  for (std::size_t i = 1; i < points.size(); ++i) EXPECT_LT(points[i - 1].date, points[i].date);
}

TEST(ComparisonWatch, RowsWithAStarUnmeasuredAreNotDrawnOrCounted) {
  ComparisonWatch watch{twoStars, true};
  watch.add(1.0, fitting);
  const std::array<double, 2> lost = {10000.0, std::nan("")};
  watch.add(2.0, lost);
  EXPECT_EQ(watch.series("")[0].points.size(), 1U);
  EXPECT_EQ(watch.agreement().rows(), 1U);
}

TEST(ComparisonWatch, WithoutAPictureNoPointsAreKept) {
  ComparisonWatch watch{twoStars, false};
  for (int row = 0; row < 100; ++row) watch.add(row, fitting);
  EXPECT_TRUE(watch.series("").empty());
  EXPECT_EQ(watch.agreement().rows(), 100U);
}

}  // namespace
}  // namespace varistellar::convert
