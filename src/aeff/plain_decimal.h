// Plain decimal numbers: the only numbers the command line accepts in its
// input files, since anything else may be a misreading.
#pragma once

#include <optional>
#include <string_view>

namespace varistellar::aeff {

// An optional sign, digits, an optional point and digits, at least one digit
// in all: "12.345", "-0.5", ".5", "7.". No exponent, word or comma.
[[nodiscard]] bool isPlainDecimal(std::string_view text);

// The value of a plain decimal number, read as the interactive run reads the
// same text; nothing for any other text.
[[nodiscard]] std::optional<double> readPlainDecimal(std::string_view text);

}  // namespace varistellar::aeff
