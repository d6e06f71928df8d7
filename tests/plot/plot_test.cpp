#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "plot/axis_ticks.h"
#include "plot/calendar_date.h"
#include "plot/night_points.h"
#include "plot/svg_picture.h"

namespace varistellar::plot {
namespace {

std::vector<std::string> labels(AxisRange range, int wanted) {
  std::vector<std::string> texts;
  for (const Tick& tick : roundTicks(range, wanted)) texts.push_back(tick.label);
  return texts;
}

TEST(RoundTicks, RoundNumbersAtStepsOfOneTwoOrFive) {
  struct Case {
    AxisRange range;
    int wanted;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {{0.652, 0.809}, 8, {"0.66", "0.68", "0.70", "0.72", "0.74", "0.76", "0.78", "0.80"}},
      {{11.3, 12.1}, 8, {"11.3", "11.4", "11.5", "11.6", "11.7", "11.8", "11.9", "12.0", "12.1"}},
      {{-2.71, -2.59}, 4, {"-2.70", "-2.65", "-2.60"}},
      {{-12.0, 231.0}, 8, {"0", "50", "100", "150", "200"}},
      // Never fewer than three ticks.
      {{-1.39, -1.31}, 4, {"-1.38", "-1.36", "-1.34", "-1.32"}},
      {{-0.004, 0.006}, 4, {"-0.004", "-0.002", "0.000", "0.002", "0.004", "0.006"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(labels(c.range, c.wanted), c.expected) << c.range.low << " to " << c.range.high;
  }
}

TEST(PaddedRange, OneValueIsWidened) {
  const AxisRange one = paddedRange(11.7, 11.7, 0.05);
  EXPECT_DOUBLE_EQ(one.low, 11.65);
  EXPECT_DOUBLE_EQ(one.high, 11.75);
  EXPECT_FALSE(roundTicks(one, 8).empty());
}

TEST(CalendarDate, CivilDayOfAJulianDate) {
  EXPECT_EQ(calendarDate(2451545.0), "2000-01-01");  // noon
  EXPECT_EQ(calendarDate(2451544.5), "2000-01-01");  // midnight begins the day
  EXPECT_EQ(calendarDate(2451544.49), "1999-12-31");
  EXPECT_EQ(calendarDate(2456175.65304), "2012-09-05");
  EXPECT_EQ(calendarDate(2460600.25), "2024-10-16");
  EXPECT_EQ(calendarDate(2460735.5), "2025-03-01");  // after a February of 28 days
}

TEST(NightPoints, ValuesThatAreNotFiniteAreNeverDrawn) {
  NightPoints points;
  points.add({2460600.3, 11.5F, 0.01F, 0.02F, 0.01F, 1.2F});
  points.add({2460600.4, 11.6F, 0.01F, std::numeric_limits<float>::quiet_NaN(), 0.01F, 1.3F});
  const Series series = points.series();
  EXPECT_EQ(series.target[0].size(), 2U);
  EXPECT_EQ(series.check[0].size(), 1U);
  EXPECT_EQ(series.bins, 0U);
  EXPECT_FLOAT_EQ(static_cast<float>(series.target[0][0].low), 11.49F);
}

TEST(NightPoints, ALongNightIsDrawnAsBinsOfItsMeansAndExtremes) {
  NightPoints points;
  for (int i = 0; i < 10000; ++i) {
    points.add({2460600.0 + i * 1e-4, i % 2 == 0 ? 11.0F : 12.0F, 0.01F, 0.0F, 0.01F, 1.0F});
  }
  const Series series = points.series();
  EXPECT_EQ(series.bins, NightPoints::binCount);
  EXPECT_EQ(series.target[0].size(), NightPoints::binCount);
  EXPECT_NEAR(series.target[0][0].value, 11.5, 1e-9);
  EXPECT_DOUBLE_EQ(series.target[0][0].low, 11.0);
  EXPECT_DOUBLE_EQ(series.target[0][0].high, 12.0);
}

TEST(NightPoints, EachNightIsASeriesOfItsOwnAndTheAirmassOneForAll) {
  NightPoints points;
  points.add({2460600.3, 11.5F, 0.01F, 0.02F, 0.01F, 1.2F, 0});
  points.add({2460600.3, 12.1F, 0.01F, 0.03F, 0.01F, 1.2F, 1});
  points.add({2460600.4, 11.6F, 0.01F, 0.02F, 0.01F, 1.3F, 0});
  const Series series = points.series(2);
  ASSERT_EQ(series.target.size(), 2U);
  EXPECT_EQ(series.target[0].size(), 2U);
  EXPECT_EQ(series.target[1].size(), 1U);
  EXPECT_DOUBLE_EQ(series.target[1][0].value, 12.1F);
  EXPECT_EQ(series.check[1].size(), 1U);
  EXPECT_EQ(series.airmass.size(), 3U);
}

// Untransformed observations of a transformed night, and their check star,
// are series of their own, drawn as rings, in a short night and a long one.
TEST(NightPoints, UntransformedObservationsAreSeriesApart) {
  for (const int count : {4, 4000}) {
    NightPoints points;
    for (int i = 0; i < count; ++i) {
      points.add({2460600.0 + i * 1e-4, 11.0F, 0.01F, 0.02F, 0.01F, 1.0F, 0, i % 4 == 0});
    }
    const Series series = points.series();
    const std::size_t expected = count == 4 ? 1U : NightPoints::binCount;
    EXPECT_EQ(series.untransformed[0].size(), expected);
    EXPECT_EQ(series.untransformedCheck[0].size(), expected);
    EXPECT_EQ(series.target[0].size(), count == 4 ? 3U : NightPoints::binCount);
  }
  NightPoints points;
  points.add({2460600.3, 11.5F, 0.01F, 0.02F, 0.01F, 1.2F, 0, false});
  points.add({2460600.4, 11.6F, 0.01F, 0.02F, 0.01F, 1.3F, 0, true});
  PictureLabels labels;
  labels.star = "RR LYR";
  labels.checkStar = "000-AAA-002";
  labels.filters = {{"V", 11.0, 12.0}};
  labels.dateKind = "HJD";
  labels.observations = 2;
  labels.transformed = true;
  labels.checkTransformed = true;
  const std::string picture = drawNightPicture(points.series(), labels);
  EXPECT_NE(picture.find("untransformed (TRANS NO)"), std::string::npos);
  EXPECT_NE(picture.find("transformed Kstd - catalogue"), std::string::npos);
  EXPECT_NE(picture.find("class=\"obs\" cx="), std::string::npos);
  EXPECT_NE(picture.find("style=\"fill:none;stroke:#1f4e9c"), std::string::npos);
}

}  // namespace
}  // namespace varistellar::plot

namespace varistellar::plot {
namespace {

PictureLabels nightLabels(std::size_t observations) {
  PictureLabels labels;
  labels.star = "RR LYR";
  labels.checkStar = "000-AAA-002";
  labels.filters = {{"V", 12.345, 13.021}};
  labels.dateKind = "HJD";
  labels.observations = observations;
  labels.firstJulianDate = 2460600.3;
  return labels;
}

TEST(CheckBands, EachNightsMeanAndDeviationOverItsMeasuredCheckStar) {
  NightPoints points;
  const float none = std::numeric_limits<float>::quiet_NaN();
  for (const float check : {0.01F, 0.03F, none, 0.02F}) {
    points.add({2460600.3, 11.5F, 0.01F, check, 0.01F, 1.2F, 0});
  }
  points.add({2460600.4, 11.5F, 0.01F, 0.5F, 0.01F, 1.2F, 1});
  const auto bands = points.checkBands(2);
  ASSERT_EQ(bands.size(), 2U);
  EXPECT_EQ(bands[0].count, 3U);
  EXPECT_NEAR(bands[0].mean, 0.02, 1e-7);
  EXPECT_NEAR(bands[0].deviation, 0.01, 1e-7);
  // One value: no band.
  EXPECT_EQ(bands[1].count, 1U);
  const std::string picture = drawNightPicture(points.series(2), nightLabels(5));
  // One band, the first night's, from 0.01 to 0.03.
  const auto first = picture.find("<rect class=\"band\"");
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(picture.find("<rect class=\"band\"", first + 1), std::string::npos);
}

TEST(ComparisonsPanel, EachApertureASeriesNamedInTheLegend) {
  NightPoints points;
  for (int i = 0; i < 40; ++i) {
    points.add({2460600.3 + 0.002 * i, 11.5F, 0.01F, 0.01F * static_cast<float>(i % 3), 0.01F,
                static_cast<float>(1.1 + 0.01 * i), 0});
  }
  Series series = points.series();
  EXPECT_EQ(drawNightPicture(series, nightLabels(40)).find("comparison - catalogue"),
            std::string::npos);
  for (const char* name : {"C2", "C3", "C4"}) series.comparisons.push_back({name, {}});
  for (int i = 0; i < 40; ++i) {
    const double date = 2460600.3 + 0.002 * i;
    const double wobble = i % 2 == 0 ? 0.004 : -0.004;
    series.comparisons[0].points.push_back({date, wobble, wobble, wobble});
    series.comparisons[1].points.push_back({date, -wobble, -wobble, -wobble});
    // A variable among them.
    const double variable = 0.15 + 0.05 * std::sin(i / 5.0);
    series.comparisons[2].points.push_back({date, variable, variable, variable});
  }
  const std::string picture = drawNightPicture(series, nightLabels(40));
  EXPECT_NE(picture.find("height=\"950.00\""), std::string::npos);
  EXPECT_NE(picture.find("comparison - catalogue"), std::string::npos);
  std::size_t marks = 0;
  for (auto at = picture.find("class=\"comparison\""); at != std::string::npos;
       at = picture.find("class=\"comparison\"", at + 1)) {
    ++marks;
  }
  EXPECT_EQ(marks, 120U);
  for (const char* name : {">C2<", ">C3<", ">C4<"}) {
    EXPECT_NE(picture.find(name), std::string::npos) << name;
  }
  // The time axis's labels stand below the new panel.
  EXPECT_NE(picture.find("y=\"938.00\""), std::string::npos);
  if (const char* keep = std::getenv("VARISTELLAR_KEEP_PICTURE")) {
    std::FILE* file = std::fopen(keep, "wb");
    if (file != nullptr) {
      std::fwrite(picture.data(), 1, picture.size(), file);
      std::fclose(file);
    }
  }
}

}  // namespace
}  // namespace varistellar::plot
