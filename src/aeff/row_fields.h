// A report row's fields: one splitting at the delimiter for every reader
// of rows, so that all of them see the same fields in the same bytes.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "aeff/format.h"

namespace varistellar::aeff {

using RowFields = std::array<std::string_view, fieldCount>;

// The fifteen fields of `line` (without its line end) split at `delimiter`,
// as written, blanks and all; none when the row has another number.
[[nodiscard]] std::optional<RowFields> splitRow(std::string_view line, char delimiter);

// The field `index` of `line` split at `delimiter`, without its edge
// blanks; empty when the row has fewer fields.
[[nodiscard]] std::string_view rowField(std::string_view line, char delimiter, std::size_t index);

}  // namespace varistellar::aeff
