// The order of the standard filters, B, V, R, I: the places of their values
// in the transformation's arrays, and the order reports and plans list them in.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace varistellar::transform {

inline constexpr std::array<char, 4> filterOrder{'B', 'V', 'R', 'I'};

// A standard filter's place in `filterOrder`; I for any filter but B, V and R.
[[nodiscard]] constexpr std::size_t filterRank(char filter) {
  for (std::size_t rank = 0; rank + 1 < filterOrder.size(); ++rank) {
    if (filterOrder[rank] == filter) return rank;
  }
  return filterOrder.size() - 1;
}

// The place of a filter as a report names it (TB, TG and TR as B, V and R,
// case ignored); none for a filter that is not transformed.
[[nodiscard]] std::optional<std::size_t> filterRankOfName(std::string_view name);

}  // namespace varistellar::transform
