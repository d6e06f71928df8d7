// Finding an observation's partner in another filter's time series: the two
// observations that bracket its time, or the nearest one, within a window.
#pragma once

#include <cstddef>
#include <optional>

#include "transform/equations.h"

namespace varistellar::transform {

// The partner of an observation: `first` alone (weight 0), or `first` and
// `second` bracketing its time, `second` with weight w:
// value = (1 - w) y1 + w y2.
struct Partner {
  std::size_t first = 0;
  std::size_t second = 0;
  double weight = 0.0;
};

// How far apart two observations may be to be paired (--pair-within).
struct PairingWindow {
  double minutes = 10.0;
};

// Whether a distance in days lies within the window: |days| * 1440 <= minutes,
// give or take 5e-6 minutes, for differences of dates carry floating-point noise.
[[nodiscard]] bool withinWindow(double days, PairingWindow window);

// The partner's V-C and its error, the two observations combined with the
// partner's weights: error = sqrt((1 - w)^2 s1^2 + w^2 s2^2).
[[nodiscard]] Instrumental partnerValue(const Partner& p, Instrumental y1, Instrumental y2);

namespace detail {

// The first index in [begin, end) whose time is not below `time` (end if none).
template <typename TimeAt>
std::size_t firstNotBefore(std::size_t begin, std::size_t end, TimeAt& timeAt, double time) {
  while (begin < end) {
    const std::size_t middle = begin + (end - begin) / 2;
    if (timeAt(middle) < time) {
      begin = middle + 1;
    } else {
      end = middle;
    }
  }
  return begin;
}

// The same, looked for outward from `hint` in steps that double, then by a
// binary search: a search that ends near where it starts costs little
// however long the series, so that walking a whole night stays linear.
template <typename TimeAt>
std::size_t firstNotBeforeNear(std::size_t count, TimeAt& timeAt, double time, std::size_t hint) {
  std::size_t low = hint < count ? hint : count;
  std::size_t high = low;
  if (low < count && timeAt(low) < time) {
    // Forward: every index below `low` is before `time`; `high` is not, or is the end.
    ++low;
    high = low;
    for (std::size_t step = 1; high < count && timeAt(high) < time; step *= 2) {
      low = high + 1;
      high = count - low < step ? count : low + step;
    }
  } else if (low > 0 && !(timeAt(low - 1) < time)) {
    // Backward: `high` is not before `time`; every index below `low` is, or none is left.
    high = low - 1;
    low = high;
    for (std::size_t step = 1; low > 0 && !(timeAt(low - 1) < time); step *= 2) {
      high = low - 1;
      low = high < step ? 0 : high - step;
    }
  }
  return firstNotBefore(low, high, timeAt, time);
}

}  // namespace detail

// The partner of an observation at `time` (days, HJD) in a series of `count`
// observations sorted by time, `timeAt(i)` giving the i-th one's time.
// - An observation at exactly `time` is the partner alone.
// - Otherwise the two that bracket `time`, interpolated, when both are within
//   the window; else the one of them that is within it; else none.
// - Of observations sharing one time, the first in order stands for them all.
// Both neighbours equally near are both within or both outside the window, so
// the rule "the earlier on a tie" never has to choose; the earlier is looked
// at first all the same.
namespace detail {

// The partner, given `after`: the first observation whose time is not
// below `time`.
template <typename TimeAt>
std::optional<Partner> partnerFrom(std::size_t after, std::size_t count, TimeAt& timeAt,
                                   double time, PairingWindow window) {
  if (after < count && timeAt(after) == time) return Partner{after, after, 0.0};
  std::optional<std::size_t> before{};
  if (after > 0) {
    // The first of the observations that share the time before `time`.
    before = firstNotBeforeNear(count, timeAt, timeAt(after - 1), after - 1);
  }
  const bool beforeWithin = before && withinWindow(time - timeAt(*before), window);
  const bool afterWithin = after < count && withinWindow(timeAt(after) - time, window);
  if (beforeWithin && afterWithin) {
    const double t1 = timeAt(*before);
    const double t2 = timeAt(after);
    return Partner{*before, after, (time - t1) / (t2 - t1)};
  }
  if (beforeWithin) return Partner{*before, *before, 0.0};
  if (afterWithin) return Partner{after, after, 0.0};
  return std::nullopt;
}

}  // namespace detail

template <typename TimeAt>
[[nodiscard]] std::optional<Partner> partnerAt(std::size_t count, TimeAt timeAt, double time,
                                               PairingWindow window) {
  const std::size_t after = detail::firstNotBefore(0, count, timeAt, time);
  return detail::partnerFrom(after, count, timeAt, time, window);
}

// The same for times asked in (nearly) increasing order, as a night's
// observations are: `place` remembers where the last search ended, and the
// search starts from there, so that a whole night is paired in one pass.
template <typename TimeAt>
[[nodiscard]] std::optional<Partner> partnerAt(std::size_t count, TimeAt timeAt, double time,
                                               PairingWindow window, std::size_t& place) {
  const std::size_t after = detail::firstNotBeforeNear(count, timeAt, time, place);
  place = after;
  return detail::partnerFrom(after, count, timeAt, time, window);
}

}  // namespace varistellar::transform
