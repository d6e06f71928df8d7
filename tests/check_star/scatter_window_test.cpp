#include "check_star/scatter_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>
#include <random>
#include <vector>

namespace varistellar::check_star {
namespace {

constexpr double unmeasured = std::numeric_limits<double>::quiet_NaN();

struct Observation {
  double time;
  double Kstd;
};

// Every observation through the window, each deviation taken as soon as it is ready.
std::vector<std::optional<double>> streamed(const std::vector<Observation>& night,
                                            std::size_t width, std::size_t* mostWaiting = nullptr) {
  ScatterWindow window{width};
  std::vector<std::optional<double>> deviations;
  for (const Observation& observation : night) {
    EXPECT_TRUE(window.add(observation.time, observation.Kstd));
    if (mostWaiting != nullptr) *mostWaiting = std::max(*mostWaiting, window.waiting());
    while (window.ready()) deviations.push_back(window.take());
  }
  window.end();
  while (window.ready()) deviations.push_back(window.take());
  return deviations;
}

std::optional<double> deviationOf(const std::vector<double>& magnitudes) {
  if (magnitudes.size() < leastScatterCount) return std::nullopt;
  double mean = 0.0;
  for (const double m : magnitudes) mean += m;
  mean /= static_cast<double>(magnitudes.size());
  double squares = 0.0;
  for (const double m : magnitudes) squares += (m - mean) * (m - mean);
  return std::sqrt(squares / static_cast<double>(magnitudes.size() - 1));
}

// The window written out: of the runs of `width` observations that hold
// observation i, the one whose furthest member is nearest in time, the
// earliest of equals.
std::optional<double> byHand(const std::vector<Observation>& night, std::size_t i,
                             std::size_t width) {
  const std::size_t n = night.size();
  const std::size_t w = std::min(width, n);
  std::size_t best = 0;
  double bestReach = std::numeric_limits<double>::infinity();
  for (std::size_t s = (i + 1 >= w ? i + 1 - w : 0); s <= i && s + w <= n; ++s) {
    const double reach =
        std::max(night[i].time - night[s].time, night[s + w - 1].time - night[i].time);
    if (reach < bestReach) {
      bestReach = reach;
      best = s;
    }
  }
  std::vector<double> measured;
  for (std::size_t j = best; j < best + w; ++j) {
    if (!std::isnan(night[j].Kstd)) measured.push_back(night[j].Kstd);
  }
  return deviationOf(measured);
}

void expectAsByHand(const std::vector<Observation>& night, std::size_t width) {
  const auto deviations = streamed(night, width);
  ASSERT_EQ(deviations.size(), night.size());
  for (std::size_t i = 0; i < night.size(); ++i) {
    const auto expected = byHand(night, i, width);
    ASSERT_EQ(deviations[i].has_value(), expected.has_value()) << "observation " << i;
    if (expected) {
      EXPECT_NEAR(*deviations[i], *expected, 1e-12) << "observation " << i;
    }
  }
}

TEST(ScatterWindow, AnEvenNightSlidesInAtItsEnds) {
  std::vector<Observation> night;
  for (std::size_t i = 0; i < 30; ++i) {
    night.push_back({static_cast<double>(i) * 0.001, 13.0 + 0.01 * static_cast<double>(i % 4)});
  }
  expectAsByHand(night, 7);
  // The first observation's window is the first seven, not three on either side.
  const auto first = streamed(night, 7).front();
  std::vector<double> firstSeven;
  for (std::size_t i = 0; i < 7; ++i) firstSeven.push_back(night[i].Kstd);
  EXPECT_NEAR(*first, *deviationOf(firstSeven), 1e-12);
}

TEST(ScatterWindow, NightsOfUnevenTimesAndUnmeasuredStarsAgreeWithTheWindowByHand) {
  std::mt19937 random{7};
  // Times never equal, so that "nearest" has one answer.
  std::uniform_real_distribution<double> step{1e-6, 1.0};
  std::uniform_real_distribution<double> magnitude{12.9, 13.1};
  for (const std::size_t width : {5U, 7U, 21U}) {
    for (std::size_t length = 1; length < 60; length += 3) {
      std::vector<Observation> night;
      double time = 2460600.0;
      for (std::size_t i = 0; i < length; ++i) {
        // Short gaps, and now and then a long one.
        const double gap = step(random);
        time += gap < 0.9 ? gap * 0.001 : gap * 0.1;
        night.push_back({time, step(random) < 0.3 ? unmeasured : magnitude(random)});
      }
      expectAsByHand(night, width);
    }
  }
}

TEST(ScatterWindow, ObservationsOfOneTimeTakeTheEarlierOnes) {
  // Nothing is nearer than another: each window is the observation and the
  // ones before it (the first ones for the night's beginning).
  std::vector<Observation> night;
  for (std::size_t i = 0; i < 12; ++i)
    night.push_back({5.0, 13.0 + 0.001 * static_cast<double>(i * i)});
  const auto deviations = streamed(night, 5);
  ASSERT_EQ(deviations.size(), night.size());
  for (std::size_t i = 0; i < night.size(); ++i) {
    const std::size_t first = i < 5 ? 0 : i - 4;
    std::vector<double> window;
    for (std::size_t j = first; j < first + 5; ++j) window.push_back(night[j].Kstd);
    EXPECT_NEAR(*deviations[i], *deviationOf(window), 1e-12) << i;
  }
}

TEST(ScatterWindow, AWindowAsLongAsTheNightIsTheWholeNight) {
  std::vector<Observation> night;
  std::vector<double> all;
  for (int i = 0; i < 9; ++i) {
    night.push_back({i * 0.01, 13.0 + 0.003 * i * i});
    all.push_back(night.back().Kstd);
  }
  for (const auto& deviation : streamed(night, 9))
    EXPECT_NEAR(*deviation, *deviationOf(all), 1e-12);
  // Wider than the night: still the whole night.
  for (const auto& deviation : streamed(night, 21))
    EXPECT_NEAR(*deviation, *deviationOf(all), 1e-12);
}

TEST(ScatterWindow, FewerThanFiveMeasuredGiveNone) {
  std::vector<Observation> night;
  for (int i = 0; i < 7; ++i) night.push_back({i * 0.01, i < 4 ? 13.0 + 0.01 * i : unmeasured});
  for (const auto& deviation : streamed(night, 7)) EXPECT_FALSE(deviation.has_value());
  night[5].Kstd = 13.05;  // the fifth measured one
  for (const auto& deviation : streamed(night, 7)) EXPECT_TRUE(deviation.has_value());
}

TEST(ScatterWindow, AnEarlierObservationIsRefused) {
  ScatterWindow window{5};
  EXPECT_TRUE(window.add(2.0, 13.0));
  EXPECT_TRUE(window.add(2.0, 13.0));
  EXPECT_FALSE(window.add(1.9, 13.0));
  EXPECT_EQ(window.waiting(), 2U);
}

TEST(ScatterWindow, ALongNightHoldsOnlyWhatTheWindowNeedsAndKeepsItsDigits) {
  // Magnitudes near 20 that alternate by 1e-4 over a million observations.
  std::vector<Observation> night;
  for (int i = 0; i < 1000000; ++i) night.push_back({i * 1e-5, 20.0 + (i % 2 == 0 ? 1e-4 : -1e-4)});
  std::size_t mostWaiting = 0;
  const auto deviations = streamed(night, 21, &mostWaiting);
  EXPECT_LE(mostWaiting, 22U);
  ASSERT_EQ(deviations.size(), night.size());
  // 21 values, 11 of one sign and 10 of the other, about their mean.
  const double expected = std::sqrt((21.0 * 1e-8 - std::pow(1e-4, 2) / 21.0) / 20.0);
  for (const std::size_t i : {0UL, 10UL, 500000UL, 999999UL}) {
    EXPECT_NEAR(*deviations[i], expected, 1e-10) << i;
  }
}

}  // namespace
}  // namespace varistellar::check_star
