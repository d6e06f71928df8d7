// A count and what is counted, as the summaries say it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace varistellar::console {

// "1 observation", "2 observations".
[[nodiscard]] inline std::string countOf(std::uint64_t count, std::string_view thing) {
  std::string text = std::to_string(count);
  text.append(" ").append(thing);
  if (count != 1) text.push_back('s');
  return text;
}

}  // namespace varistellar::console
