// The digit string behind a fixed-point field: decimal digits and exponent of
// a value, rounded for d digits after the decimal point.
#pragma once

#include <array>

namespace varistellar::textio {

// Twenty decimal digit characters D1..D20 and an exponent r, standing for
// 0.D1D2...D20 x 10^r. Digits beyond D20 count as '0'.
struct DigitString {
  static constexpr int size = 20;
  std::array<char, size> digits{};
  int exponent = 0;
};

// The first 17 digits of |value| after one scaling by a power of ten, cut off
// exactly; D18..D20 are '0'. Zero and subnormal magnitudes give all zeros and
// r = 0. `magnitude` is finite and not negative.
//
// A field with d digits after the point shows no digit past D(r + d + 1), the
// one its rounding looks at: given d, only the digits up to that one are
// made, the others are left '0'.
inline constexpr int allDigits = 1 << 20;
[[nodiscard]] DigitString makeDigitString(double magnitude, int digitsAfterPoint = allDigits);

// Rounds half away from zero at the first digit not written with
// `digitsAfterPoint` decimals, never keeping more than 16 significant digits;
// a carry out of D1 raises the exponent by one.
void roundDigitString(DigitString& digitString, int digitsAfterPoint);

// The fixed-point field w.d made from the value's digit string, always:
// formatFixedField (textio/fields.h) writes the same bytes, most often by a
// shorter way.
void formatFixedFieldByDigits(double value, int width, int digits, char* out);

}  // namespace varistellar::textio
