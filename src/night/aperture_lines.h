// The aperture lines after line 12 of the parameter file: `target T3`,
// `check C4`, `comparison C2 12.345`, words separated by blanks, case
// ignored. Blank lines and lines beginning with `#` are passed over.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "night/parameter_file.h"

namespace varistellar::night {

// A line passed over (blank, or a `#` comment).
struct NoApertureLine {};
// What is wrong with a line that is no aperture line.
struct ApertureLineFault {
  std::string text;
};

using ApertureLineReading = std::variant<ApertureLine, NoApertureLine, ApertureLineFault>;

[[nodiscard]] ApertureLineReading readApertureLine(std::string_view text, std::uint64_t line);

// True for an aperture's name as AstroImageJ numbers them: T or C, then a
// number from 1 (case ignored).
[[nodiscard]] bool isApertureName(std::string_view text);

}  // namespace varistellar::night
