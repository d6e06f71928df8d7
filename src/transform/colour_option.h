// The --colour option: a star's standard colour, for a filter that has no
// partner in the night to measure it.
#pragma once

#include <optional>
#include <string_view>

#include "transform/filter_sets.h"

namespace varistellar::transform {

struct ColourOption {
  ColourIndex index = ColourIndex::BV;
  double target = 0.0;      // T
  double comparison = 0.0;  // C
  std::optional<double> check{};  // K: without it, the check star is not transformed
};

// "B-V=0.62,0.55" or "V-I=1.1,0.9,1.7": the index, then two or three plain
// decimal numbers; nothing for any other text.
[[nodiscard]] std::optional<ColourOption> parseColourOption(std::string_view text);

}  // namespace varistellar::transform
