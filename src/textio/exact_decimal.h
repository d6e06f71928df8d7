// Decimal text read and written exactly: a plain decimal number to the
// nearest double, and a double with d digits after the point, each correctly
// rounded (ties to even) from the exact values, in portable code of our own.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace varistellar::textio {

// The double nearest to a plain decimal number (an optional sign, digits, an
// optional point and digits, at least one digit), whatever its number of
// digits; nothing for any other text, and nothing when the value is beyond
// the doubles or so small that it becomes zero.
[[nodiscard]] std::optional<double> readExactDecimal(std::string_view text);

// A plain decimal number, then optionally an exponent: e or E, an optional
// sign and digits ("-4.67e-2", "1E3", ".5e+1").
[[nodiscard]] bool isDecimalWithExponent(std::string_view text);

// The double nearest to such a number, as readExactDecimal reads the same
// value written out without its exponent; nothing for any other text and
// nothing beyond the doubles or where it becomes zero.
[[nodiscard]] std::optional<double> readExactDecimalWithExponent(std::string_view text);

// `value` with exactly `decimals` digits after the point (none and no point
// for 0), from its exact binary value: "-" for a set sign bit (-0.00 too),
// "inf", "nan" for those.
[[nodiscard]] std::string formatExactFixed(double value, int decimals);

}  // namespace varistellar::textio
