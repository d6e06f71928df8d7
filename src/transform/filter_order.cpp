// The order of the standard filters.
#include "transform/filter_order.h"

#include "aeff/vocabulary.h"

namespace varistellar::transform {

std::optional<std::size_t> filterRankOfName(std::string_view name) {
  const std::optional<char> standard = aeff::standardFilter(name);
  if (!standard) return std::nullopt;
  return filterRank(*standard);
}

}  // namespace varistellar::transform
