#include "transform/pairing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace varistellar::transform {
namespace {

// Times as a night's HJDs carry them, so that differences have their real noise.
constexpr double nightStart = 2460123.4567;

double hjd(double minutes) { return nightStart + minutes / 1440.0; }

std::optional<Partner> partnerIn(const std::vector<double>& seriesMinutes, double minutes,
                                 double windowMinutes) {
  std::vector<double> times;
  for (const double m : seriesMinutes) times.push_back(hjd(m));
  return partnerAt(
      times.size(), [&times](std::size_t n) { return times[n]; }, hjd(minutes),
      PairingWindow{windowMinutes});
}

struct Case {
  std::string name;
  std::vector<double> series;  // minutes after the night's start, sorted
  double at;                   // the observation's time, in minutes
  double window;
  std::optional<Partner> expected;
};

const Partner alone0{0, 0, 0.0};
const Partner alone1{1, 1, 0.0};

const std::vector<Case> cases = {
    {"bracketed, both within", {0, 4, 10}, 1, 10, Partner{0, 1, 0.25}},
    {"bracketed further on", {0, 4, 10}, 7, 10, Partner{1, 2, 0.5}},
    {"equally near, both within", {0, 20}, 10, 10, Partner{0, 1, 0.5}},
    {"equally near, neither within", {0, 20}, 10, 9, std::nullopt},
    {"before the first", {5, 8}, 0, 10, alone0},
    {"before the first, out of reach", {5, 8}, -20, 10, std::nullopt},
    {"after the last", {0, 3}, 12, 10, alone1},
    {"after the last, out of reach", {0, 3}, 14, 10, std::nullopt},
    {"a gap before: the later one", {0, 30}, 25, 10, alone1},
    {"a gap after: the earlier one", {0, 30}, 4, 10, alone0},
    {"nothing within", {0, 30}, 15, 10, std::nullopt},
    {"exactly on the window, earlier side", {0, 30}, 10, 10, alone0},
    {"exactly on the window, later side", {0, 30}, 20, 10, alone1},
    {"exactly on the window, both sides", {0, 20}, 10, 10, Partner{0, 1, 0.5}},
    {"within the noise past the window", {0, 30}, 10 + 3e-6, 10, alone0},
    {"beyond the noise past the window", {0, 30}, 10 + 7e-6, 10, std::nullopt},
    {"an exact time", {0, 5, 10}, 5, 10, alone1},
    {"an exact time, out of any window", {0, 50, 100}, 50, 0, alone1},
    {"an exact time shared: the first", {0, 5, 5, 5, 10}, 5, 10, alone1},
    {"a shared time before: the first", {0, 3, 3, 8}, 4, 10, Partner{1, 3, 0.2}},
    {"a shared time after: the first", {0, 6, 6, 9}, 4, 10, Partner{0, 1, 4.0 / 6.0}},
    {"one observation", {0}, 0, 10, alone0},
    {"an empty series", {}, 0, 10, std::nullopt},
};

TEST(Pairing, PartnersInASeries) {
  for (const Case& c : cases) {
    const std::optional<Partner> found = partnerIn(c.series, c.at, c.window);
    ASSERT_EQ(found.has_value(), c.expected.has_value()) << c.name;
    if (!found) continue;
    EXPECT_EQ(found->first, c.expected->first) << c.name;
    EXPECT_EQ(found->second, c.expected->second) << c.name;
    // HJDs near 2.46e6 resolve some 4.7e-10 days: weights are that close.
    EXPECT_NEAR(found->weight, c.expected->weight, 1e-6) << c.name;
  }
}

TEST(Pairing, TheWindowsEdgeAndItsTolerance) {
  struct Row {
    double minutes;
    bool within;
  };
  const Row rows[] = {{0.0, true},
                      {9.999, true},
                      {10.0, true},
                      {-10.0, true},
                      {10.0 + 4.9e-6, true},
                      {-(10.0 + 4.9e-6), true},
                      {10.0 + 5.1e-6, false},
                      {-(10.0 + 5.1e-6), false},
                      {10.001, false}};
  for (const Row& row : rows) {
    EXPECT_EQ(withinWindow(row.minutes / 1440.0, PairingWindow{10.0}), row.within) << row.minutes;
  }
  EXPECT_TRUE(withinWindow(0.0, PairingWindow{0.0}));
  EXPECT_TRUE(withinWindow(4e-6 / 1440.0, PairingWindow{0.0}));
  EXPECT_FALSE(withinWindow(1e-5 / 1440.0, PairingWindow{0.0}));
}

TEST(Pairing, ObservationsTenMinutesApartAreAlwaysWithinTen) {
  // Differences of HJDs miss 10 minutes by their last bits; the tolerance must
  // take in every one of them, and some do land beyond 10.
  int beyondTen = 0;
  for (int n = 0; n < 10000; ++n) {
    const double t = 2460000.0 + n * 0.0137;
    const double later = t + 10.0 / 1440.0;
    if ((later - t) * 1440.0 > 10.0) ++beyondTen;
    const std::vector<double> times = {later};
    const auto found = partnerAt(
        times.size(), [&times](std::size_t i) { return times[i]; }, t, PairingWindow{10.0});
    ASSERT_TRUE(found.has_value()) << n;
  }
  EXPECT_GT(beyondTen, 0);
}

TEST(Pairing, ALongSeriesIsSearchedNotScanned) {
  constexpr std::size_t count = 1000000;
  int reads = 0;
  const auto timeAt = [&reads](std::size_t n) {
    ++reads;
    return nightStart + static_cast<double>(n) / 1440.0;  // one a minute
  };
  const auto found = partnerAt(count, timeAt, nightStart + 654321.5 / 1440.0, PairingWindow{});
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->first, 654321U);
  EXPECT_EQ(found->second, 654322U);
  EXPECT_NEAR(found->weight, 0.5, 1e-6);
  EXPECT_LE(reads, 64);
}

TEST(Pairing, AnEmptySeriesIsNeverRead) {
  const auto timeAt = [](std::size_t) -> double {
    ADD_FAILURE() << "read an empty series";
    return 0.0;
  };
  EXPECT_FALSE(partnerAt(0, timeAt, nightStart, PairingWindow{}).has_value());
}

TEST(Pairing, PartnerValuesCombineWithTheWeights) {
  const Instrumental y1{1.0, 0.01};
  const Instrumental y2{2.0, 0.02};
  const Instrumental between = partnerValue(Partner{0, 1, 0.25}, y1, y2);
  EXPECT_NEAR(between.value, 1.25, 1e-15);
  EXPECT_NEAR(between.error, std::sqrt(0.75 * 0.75 * 1e-4 + 0.25 * 0.25 * 4e-4), 1e-15);
  const Instrumental middle = partnerValue(Partner{0, 1, 0.5}, y1, y2);
  EXPECT_NEAR(middle.value, 1.5, 1e-15);
  EXPECT_NEAR(middle.error, std::sqrt(0.25e-4 + 1e-4), 1e-15);
  // A partner alone is its own value and error, bit for bit, whatever y2 holds.
  const Instrumental odd{-0.7463, 0.0123};
  const Instrumental unused{std::numeric_limits<double>::quiet_NaN(), 5.0};
  const Instrumental taken = partnerValue(Partner{3, 3, 0.0}, odd, unused);
  EXPECT_EQ(taken.value, odd.value);
  EXPECT_EQ(taken.error, odd.error);
}

// The search that walks from where the last one ended finds what the binary
// search finds, for times asked in order, out of order, and on shared times.
TEST(Pairing, WalkingFromTheLastPlaceFindsWhatTheBinarySearchFinds) {
  std::mt19937 random{7};
  std::uniform_real_distribution<double> step{0.0, 6.0};
  std::vector<double> times;
  double minutes = 0.0;
  for (int i = 0; i < 400; ++i) {
    // Every fifth step repeats a time.
    if (i % 5 != 0) minutes += step(random);
    times.push_back(hjd(minutes));
  }
  const auto timeAt = [&times](std::size_t n) { return times[n]; };
  std::vector<double> asked;
  for (double m = -20.0; m < minutes + 20.0; m += 0.7) asked.push_back(hjd(m));
  for (const double t : times) asked.push_back(t);
  std::vector<double> shuffled = asked;
  std::shuffle(shuffled.begin(), shuffled.end(), random);
  for (const auto* order : {&asked, &shuffled}) {
    std::size_t place = 0;
    for (const double t : *order) {
      const auto walked = partnerAt(times.size(), timeAt, t, PairingWindow{4.0}, place);
      const auto searched = partnerAt(times.size(), timeAt, t, PairingWindow{4.0});
      ASSERT_EQ(walked.has_value(), searched.has_value());
      if (!walked) continue;
      EXPECT_EQ(walked->first, searched->first);
      EXPECT_EQ(walked->second, searched->second);
      EXPECT_EQ(walked->weight, searched->weight);
    }
  }
}

// The partner by its definition, found by looking at every observation.
std::optional<Partner> partnerByScan(const std::vector<double>& times, double time,
                                     PairingWindow window) {
  const auto firstAt = [&times](double t) {
    return static_cast<std::size_t>(std::find(times.begin(), times.end(), t) - times.begin());
  };
  if (const std::size_t exact = firstAt(time); exact < times.size()) {
    return Partner{exact, exact, 0.0};
  }
  std::optional<std::size_t> before;
  std::optional<std::size_t> after;
  for (std::size_t i = 0; i < times.size(); ++i) {
    if (times[i] < time) before = i;
    if (times[i] > time && !after) after = i;
  }
  if (before) before = firstAt(times[*before]);
  const bool beforeWithin = before && withinWindow(time - times[*before], window);
  const bool afterWithin = after && withinWindow(times[*after] - time, window);
  if (beforeWithin && afterWithin) {
    return Partner{*before, *after, (time - times[*before]) / (times[*after] - times[*before])};
  }
  if (beforeWithin) return Partner{*before, *before, 0.0};
  if (afterWithin) return Partner{*after, *after, 0.0};
  return std::nullopt;
}

void expectSamePartner(const std::optional<Partner>& found, const std::optional<Partner>& expected,
                       double time) {
  ASSERT_EQ(found.has_value(), expected.has_value()) << time;
  if (!found) return;
  EXPECT_EQ(found->first, expected->first) << time;
  EXPECT_EQ(found->second, expected->second) << time;
  EXPECT_EQ(found->weight, expected->weight) << time;
}

// Long runs of one time, as a camera that stamps a whole sequence with one
// time writes them: the walk, the binary search and the definition agree.
TEST(Pairing, ManyEqualTimesAreFoundAsTheirDefinitionSays) {
  std::mt19937 random{11};
  std::uniform_int_distribution<int> runLength{1, 60};
  std::uniform_real_distribution<double> step{0.1, 8.0};
  std::vector<double> times;
  double minutes = 0.0;
  for (int run = 0; run < 80; ++run) {
    const int length = run == 40 ? 3000 : runLength(random);
    for (int i = 0; i < length; ++i) times.push_back(hjd(minutes));
    minutes += step(random);
  }
  const auto timeAt = [&times](std::size_t n) { return times[n]; };
  std::vector<double> asked;
  for (double m = -10.0; m < minutes + 10.0; m += 0.37) asked.push_back(hjd(m));
  for (std::size_t i = 0; i < times.size(); i += 7) asked.push_back(times[i]);
  std::sort(asked.begin(), asked.end());
  std::vector<double> shuffled = asked;
  std::shuffle(shuffled.begin(), shuffled.end(), random);
  for (const double window : {0.0, 3.0, 9.0}) {
    for (const auto* order : {&asked, &shuffled}) {
      std::size_t place = 0;
      for (const double t : *order) {
        const auto expected = partnerByScan(times, t, PairingWindow{window});
        expectSamePartner(partnerAt(times.size(), timeAt, t, PairingWindow{window}, place),
                          expected, t);
        expectSamePartner(partnerAt(times.size(), timeAt, t, PairingWindow{window}), expected, t);
      }
    }
  }
}

// One filter's 64,000 observations at one time and the other's a little
// later: each of the later ones is paired without walking the whole run.
TEST(Pairing, ARunOfOneTimeIsNotWalkedForEachPartner) {
  constexpr std::size_t runLength = 64000;
  std::size_t reads = 0;
  const auto timeAt = [&reads](std::size_t) {
    ++reads;
    return hjd(0.0);
  };
  std::size_t place = 0;
  for (std::size_t n = 0; n < runLength; ++n) {
    const auto walked = partnerAt(runLength, timeAt, hjd(1.0), PairingWindow{}, place);
    ASSERT_TRUE(walked.has_value());
    ASSERT_EQ(walked->first, 0U);
    const auto searched = partnerAt(runLength, timeAt, hjd(1.0), PairingWindow{});
    ASSERT_TRUE(searched.has_value());
    ASSERT_EQ(searched->first, 0U);
  }
  // A walk back over the run for each would read it 64,000 times.
  EXPECT_LE(reads, runLength * 100);
}

}  // namespace
}  // namespace varistellar::transform
