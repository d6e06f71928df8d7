// Reading --colour.
#include "transform/colour_option.h"

#include <array>
#include <cstddef>

#include "aeff/plain_decimal.h"

namespace varistellar::transform {

std::optional<ColourOption> parseColourOption(std::string_view text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  const std::string_view indexText = text.substr(0, equals);
  ColourOption option;
  bool known = false;
  for (const ColourIndex index : {ColourIndex::BV, ColourIndex::VR, ColourIndex::VI}) {
    if (indexText == indexName(index)) {
      option.index = index;
      known = true;
    }
  }
  if (!known) return std::nullopt;
  std::array<double, 3> numbers{};
  std::size_t count = 0;
  std::string_view rest = text.substr(equals + 1);
  for (;;) {
    const std::size_t comma = rest.find(',');
    const auto number = aeff::readPlainDecimal(rest.substr(0, comma));
    if (!number || count == numbers.size()) return std::nullopt;
    numbers[count++] = *number;
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  if (count < 2) return std::nullopt;
  option.target = numbers[0];
  option.comparison = numbers[1];
  if (count == 3) option.check = numbers[2];
  return option;
}

}  // namespace varistellar::transform
