// Tick marks as a person would choose them: round numbers at steps of 1, 2
// or 5 times a power of ten.
#pragma once

#include <string>
#include <vector>

namespace varistellar::plot {

struct AxisRange {
  double low = 0.0;
  double high = 1.0;
};

struct Tick {
  double value = 0.0;
  std::string label;
};

// The range of the values with a margin on each side; a range of one value
// is widened by `least` each way.
[[nodiscard]] AxisRange paddedRange(double low, double high, double least);

// About `wanted` ticks inside the range, labelled with as many decimals as
// the step needs.
[[nodiscard]] std::vector<Tick> roundTicks(AxisRange range, int wanted);

// A number with a fixed count of decimals, the same digits on every platform.
[[nodiscard]] std::string fixedDecimals(double value, int decimals);

}  // namespace varistellar::plot
