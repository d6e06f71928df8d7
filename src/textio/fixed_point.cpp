// The fixed-point field w.d: a digit string from one scaling of the value,
// rounded on its decimal digits, then laid out in exactly w columns.
#include "textio/fixed_point.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "textio/bit_pattern.h"
#include "textio/fields.h"
#include "textio/power_of_ten.h"

namespace varistellar::textio {

double powerOfTen(int n) {
  // Negative n (not used by the conversions) gives the reciprocal.
  const auto magnitude = n < 0 ? 0U - static_cast<unsigned>(n) : static_cast<unsigned>(n);
  const double power = detail::lookUpPowerOfTen(magnitude);
  return n < 0 ? 1.0 / power : power;
}

namespace {

// s is held as a 64-bit fixed-point number with this many fraction bits. As s
// lies below 16 and is at least 0.5, it takes at most 63 bits and every bit of
// its 53-bit significand is kept; ten times the fraction still fits.
constexpr int fractionBits = 59;
constexpr std::uint64_t fractionMask = (std::uint64_t{1} << fractionBits) - 1;
constexpr double fixedPointScale = 0x1p59;

// At most 16 significant digits are ever written; the 17th decides rounding.
constexpr int generatedDigits = 17;

}  // namespace

DigitString makeDigitString(double magnitude, int digitsAfterPoint) {
  DigitString result;
  result.digits.fill('0');
  const auto biasedExponent = static_cast<std::int32_t>(bitsOf(magnitude) >> 52);
  if (biasedExponent == 0) return result;  // zero; subnormal values are taken as zero too

  // floor(log10 2^(E-1023)), estimated with 19728/65536 for log10 2; the
  // estimate may be one too high, leaving s just below 1 and D1 = '0'.
  const std::int32_t estimate = ((biasedExponent - 1023) * 19728) >> 16;
  double scaled = magnitude;
  if (estimate > 0) {
    scaled = magnitude / detail::lookUpPowerOfTen(static_cast<unsigned>(estimate));
  } else if (estimate < 0) {
    scaled = magnitude * detail::lookUpPowerOfTen(static_cast<unsigned>(-estimate));
  }
  result.exponent = estimate + 1;
  if (scaled >= 10.0) {
    scaled /= 10.0;
    result.exponent = estimate + 2;
  }

  // Scaling by a power of two is exact, and so is the conversion of the
  // resulting integer: the digits below are those of the exact binary s.
  auto fixed = static_cast<std::uint64_t>(scaled * fixedPointScale);
  const std::int64_t needed = std::clamp<std::int64_t>(
      std::int64_t{result.exponent} + digitsAfterPoint + 1, 0, generatedDigits);
  for (int i = 0; i < needed; ++i) {
    result.digits[static_cast<std::size_t>(i)] = static_cast<char>('0' + (fixed >> fractionBits));
    fixed = (fixed & fractionMask) * 10;
  }
  return result;
}

void roundDigitString(DigitString& digitString, int digitsAfterPoint) {
  const std::int64_t firstUnwritten = std::int64_t{digitString.exponent} + digitsAfterPoint + 1;
  if (firstUnwritten <= 0) return;
  const auto k = static_cast<std::size_t>(std::min<std::int64_t>(firstUnwritten, generatedDigits));
  auto& digits = digitString.digits;
  if (digits[k - 1] >= '5') {
    digits[k - 1] = '0';
    std::size_t position = k - 1;
    for (;;) {
      if (position == 0) {  // the carry passed D1
        digits[0] = '1';
        ++digitString.exponent;
        break;
      }
      --position;
      if (digits[position] != '9') {
        ++digits[position];
        break;
      }
      digits[position] = '0';
    }
  }
  if (k == generatedDigits) digits[k - 1] = '0';
}

namespace {

char* fill(char* out, std::int64_t count, char byte) {
  if (count <= 0) return out;
  std::memset(out, byte, static_cast<std::size_t>(count));
  return out + count;
}

// D(first)..D(last), with '0' beyond D20.
char* copyDigits(char* out, const DigitString& digitString, std::int64_t first, std::int64_t last) {
  const std::int64_t stored = std::min<std::int64_t>(last, DigitString::size);
  if (first <= stored) {
    const auto count = static_cast<std::size_t>(stored - first + 1);
    std::memcpy(out, digitString.digits.data() + (first - 1), count);
    out += count;
    first = stored + 1;
  }
  return fill(out, last - first + 1, '0');
}

// NaN or infinity: "NaN" / "INF", after "-" when the sign bit is set, right-justified.
void formatSpecialValue(bool isNaN, bool signBit, int width, char* out) {
  const int length = signBit ? 4 : 3;
  if (width < length) {
    fill(out, width, '*');
    return;
  }
  out = fill(out, width - length, ' ');
  if (signBit) *out++ = '-';
  const std::string_view word = isNaN ? "NaN" : "INF";
  std::copy(word.begin(), word.end(), out);
}

// The columns of a fixed-point field for a rounded digit string. Every branch
// first decides whether the value fits, then writes exactly `width` bytes.
void layOutFixedField(const DigitString& digitString, bool negative, int width, int digits,
                      char* out) {
  const std::int64_t r = digitString.exponent;
  const std::int64_t room = width - (negative ? 1 : 0) - digits - 1;  // columns before the point
  if (r <= 0 && digits == 0) {
    out = fill(out, width - 2, ' ');
    out[0] = '0';
    out[1] = '.';
  } else if (r + digits <= 0) {
    // Rounds to zero: no sign, not even for a negative value.
    if (room > 0) {
      out = fill(out, width - digits - 2, ' ');
      *out++ = '0';
    } else {
      out = fill(out, width - digits - 1, ' ');
    }
    *out++ = '.';
    fill(out, digits, '0');
  } else if (r <= 0) {
    if (room < 0) {
      fill(out, width, '*');
      return;
    }
    if (room > 0) out = fill(out, room - 1, ' ');
    if (negative) *out++ = '-';
    if (room > 0) *out++ = '0';
    *out++ = '.';
    out = fill(out, -r, '0');
    copyDigits(out, digitString, 1, r + digits);
  } else {
    if (room < r) {
      fill(out, width, '*');
      return;
    }
    out = fill(out, room - r, ' ');
    if (negative) *out++ = '-';
    out = copyDigits(out, digitString, 1, r);
    *out++ = '.';
    copyDigits(out, digitString, r + 1, r + digits);
  }
}

// The common case at a fraction of the cost: a value whose digits round
// away from a tie and whose text fits, written from its nearest whole number
// of units of the last digit. The digit string gives the same text there,
// for the scaling's error (well below 1e-9 units up to 1e7 units) cannot
// carry a value across the rounding point; false leaves the rest to it.
bool formatCommonFixedField(double value, int width, int digits, char* out) {
  if (digits < 1 || digits > 6 || width > 24) return false;
  const double units = std::fabs(value) * powerOfTen(digits);
  if (!(units < 1e7)) return false;  // also NaN
  const double whole = std::floor(units);
  const double fraction = units - whole;
  if (std::fabs(fraction - 0.5) < 1e-6) return false;
  const auto rounded = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1u : 0u);
  if (rounded == 0) return false;  // zero has its own layout, without a sign
  std::array<char, 32> text{};
  std::size_t at = text.size();
  std::uint64_t left = rounded;
  for (int i = 0; i < digits; ++i, left /= 10) text[--at] = static_cast<char>('0' + left % 10);
  text[--at] = '.';
  do {
    text[--at] = static_cast<char>('0' + left % 10);
    left /= 10;
  } while (left != 0);
  if (value < 0) text[--at] = '-';
  const std::size_t length = text.size() - at;
  if (length > static_cast<std::size_t>(width)) return false;
  out = fill(out, width - static_cast<int>(length), ' ');
  std::memcpy(out, text.data() + at, length);
  return true;
}

}  // namespace

void formatFixedField(double value, int width, int digits, char* out) {
  if (width > 0 && formatCommonFixedField(value, width, digits, out)) return;
  formatFixedFieldByDigits(value, width, digits, out);
}

void formatFixedFieldByDigits(double value, int width, int digits, char* out) {
  if (width <= 0) return;
  const bool signBit = std::signbit(value);
  if (!std::isfinite(value)) {
    formatSpecialValue(std::isnan(value), signBit, width, out);
    return;
  }
  // Fields narrower than d + 2 columns have no layout for numbers: asterisks.
  if (digits < 0 || digits > width - 2) {
    fill(out, width, '*');
    return;
  }
  // A negative zero is written as zero; a negative subnormal keeps its sign.
  const bool negative = signBit && value != 0.0;
  DigitString digitString = makeDigitString(std::fabs(value), digits);
  roundDigitString(digitString, digits);
  layOutFixedField(digitString, negative, width, digits, out);
}

}  // namespace varistellar::textio
