// Round ticks for the picture's axes.
#include "plot/axis_ticks.h"

#include <algorithm>
#include <cmath>

#include "textio/exact_decimal.h"

namespace varistellar::plot {

AxisRange paddedRange(double low, double high, double least) {
  if (!(high - low > least * 1e-3)) {
    const double middle = (low + high) / 2.0;
    return {middle - least, middle + least};
  }
  const double margin = (high - low) * 0.05;
  return {low - margin, high + margin};
}

namespace {

// The steps of 1, 2 and 5 times a power of ten, from the one nearest above
// `rough` downwards.
double stepAtOrAbove(double rough) {
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  for (const double factor : {1.0, 2.0, 5.0}) {
    // cppcheck-suppress useStlAlgorithm ; three candidates, tried in order
    if (rough <= factor * power * (1.0 + 1e-9)) return factor * power;
  }
  return 10.0 * power;
}

double nextSmallerStep(double step) {
  const double power = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
  const double factor = step / power;
  if (factor > 4.0) return 2.0 * power;
  if (factor > 1.5) return power;
  return 0.5 * power;
}

std::vector<Tick> ticksAt(AxisRange range, double step) {
  const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
  std::vector<Tick> ticks;
  const auto first = static_cast<long long>(std::ceil(range.low / step - 1e-9));
  const auto last = static_cast<long long>(std::floor(range.high / step + 1e-9));
  for (long long k = first; k <= last; ++k) {
    const double value = static_cast<double>(k) * step;
    ticks.push_back({value, fixedDecimals(value, decimals)});
  }
  return ticks;
}

}  // namespace

std::vector<Tick> roundTicks(AxisRange range, int wanted) {
  const double span = range.high - range.low;
  if (!(span > 0.0) || !std::isfinite(span)) return {};
  double step = stepAtOrAbove(span / std::max(wanted, 1));
  // Never fewer than three ticks: an axis needs two steps to be read.
  std::vector<Tick> ticks = ticksAt(range, step);
  while (ticks.size() < 3) {
    step = nextSmallerStep(step);
    ticks = ticksAt(range, step);
  }
  return ticks;
}

std::string fixedDecimals(double value, int decimals) {
  // A value that rounds to zero is written without its sign.
  if (std::fabs(value) < 0.5 * std::pow(10.0, -decimals)) value = 0.0;
  return textio::formatExactFixed(value, decimals);
}

}  // namespace varistellar::plot
