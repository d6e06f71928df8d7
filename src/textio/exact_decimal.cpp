// Exact decimal conversions on unsigned integers of any length, held as
// 32-bit limbs with the least significant first. Slow beside the record
// runtime's own conversions, and used only where exactness is the point:
// long decimal texts in a report and the picture's numbers.
#include "textio/exact_decimal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "textio/bit_pattern.h"

namespace varistellar::textio {
namespace {

using Limbs = std::vector<std::uint32_t>;

void trim(Limbs& number) {
  while (!number.empty() && number.back() == 0) number.pop_back();
}

void multiplyAdd(Limbs& number, std::uint32_t factor, std::uint32_t addend) {
  std::uint64_t carry = addend;
  for (std::uint32_t& limb : number) {
    const std::uint64_t product = std::uint64_t{limb} * factor + carry;
    limb = static_cast<std::uint32_t>(product);
    carry = product >> 32;
  }
  if (carry != 0) number.push_back(static_cast<std::uint32_t>(carry));
}

std::size_t bitLength(const Limbs& number) {
  if (number.empty()) return 0;
  std::size_t bits = (number.size() - 1) * 32;
  for (std::uint32_t top = number.back(); top != 0; top >>= 1) ++bits;
  return bits;
}

Limbs shiftedLeft(const Limbs& number, std::size_t bits) {
  if (number.empty()) return {};
  Limbs shifted(bits / 32, 0);
  const auto within = static_cast<unsigned>(bits % 32);
  std::uint32_t carry = 0;
  for (const std::uint32_t limb : number) {
    shifted.push_back(limb << within | carry);
    carry = within == 0 ? 0 : limb >> (32 - within);
  }
  shifted.push_back(carry);
  trim(shifted);
  return shifted;
}

void shiftRightOnce(Limbs& number) {
  for (std::size_t i = 0; i < number.size(); ++i) {
    const std::uint32_t next = i + 1 < number.size() ? number[i + 1] : 0;
    number[i] = number[i] >> 1 | next << 31;
  }
  trim(number);
}

int compare(const Limbs& a, const Limbs& b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (std::size_t i = a.size(); i-- > 0;) {
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  }
  return 0;
}

// a -= b, for a >= b.
void subtract(Limbs& a, const Limbs& b) {
  std::int64_t borrow = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    std::int64_t difference = std::int64_t{a[i]} - borrow - (i < b.size() ? std::int64_t{b[i]} : 0);
    borrow = difference < 0 ? 1 : 0;
    if (difference < 0) difference += std::int64_t{1} << 32;
    a[i] = static_cast<std::uint32_t>(difference);
  }
  trim(a);
}

struct Quotient {
  std::uint64_t value = 0;  // below 2^56
  bool remainder = false;   // whether anything was left over
};

// floor(dividend / divisor) for a quotient known to be below 2^56.
Quotient divide(Limbs dividend, const Limbs& divisor) {
  constexpr int topBit = 55;
  Quotient quotient;
  Limbs step = shiftedLeft(divisor, topBit);
  for (int bit = topBit; bit >= 0; --bit) {
    if (compare(dividend, step) >= 0) {
      subtract(dividend, step);
      quotient.value |= std::uint64_t{1} << bit;
    }
    shiftRightOnce(step);
  }
  quotient.remainder = !dividend.empty();
  return quotient;
}

Limbs fromUnsigned(std::uint64_t value) {
  Limbs number{static_cast<std::uint32_t>(value), static_cast<std::uint32_t>(value >> 32)};
  trim(number);
  return number;
}

// The decimal digits of a whole number, "0" for zero.
std::string decimalDigits(Limbs number) {
  constexpr std::uint32_t chunk = 1000000000;
  std::string reversed;
  while (!number.empty()) {
    std::uint64_t rest = 0;
    for (std::size_t i = number.size(); i-- > 0;) {
      const std::uint64_t current = rest << 32 | number[i];
      number[i] = static_cast<std::uint32_t>(current / chunk);
      rest = current % chunk;
    }
    trim(number);
    for (int i = 0; i < 9 && (rest != 0 || !number.empty()); ++i, rest /= 10) {
      reversed.push_back(static_cast<char>('0' + rest % 10));
    }
  }
  if (reversed.empty()) reversed = "0";
  return {reversed.rbegin(), reversed.rend()};
}

bool isDigit(char byte) { return byte >= '0' && byte <= '9'; }

}  // namespace

std::optional<double> readExactDecimal(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  Limbs numerator;
  std::size_t digits = 0;
  std::size_t decimals = 0;
  bool point = false;
  for (const char byte : text) {
    if (byte == '.' && !point) {
      point = true;
      continue;
    }
    if (!isDigit(byte)) return std::nullopt;
    ++digits;
    if (point) ++decimals;
    multiplyAdd(numerator, 10, static_cast<std::uint32_t>(byte - '0'));
    trim(numerator);
  }
  if (digits == 0) return std::nullopt;
  if (numerator.empty()) return negative ? -0.0 : 0.0;

  Limbs denominator{1};
  for (std::size_t i = 0; i < decimals; ++i) multiplyAdd(denominator, 10, 0);

  // value = numerator / denominator = q * 2^-shift. Take q with 54 bits, one
  // more than a double keeps, so that the last one and the remainder decide
  // the rounding; a value below the normal doubles keeps fewer, down to the
  // half of the least subnormal step (2^-1075).
  constexpr std::int64_t leastShift = 1075;
  auto shift = static_cast<std::int64_t>(54 + bitLength(denominator)) -
               static_cast<std::int64_t>(bitLength(numerator));
  Quotient q;
  for (;;) {
    shift = std::min(shift, leastShift);
    q = shift >= 0 ? divide(shiftedLeft(numerator, static_cast<std::size_t>(shift)), denominator)
                   : divide(numerator, shiftedLeft(denominator, static_cast<std::size_t>(-shift)));
    if (q.value >= std::uint64_t{1} << 54) {
      --shift;
    } else if (q.value < std::uint64_t{1} << 53 && shift < leastShift) {
      ++shift;
    } else {
      break;
    }
  }
  const bool half = (q.value & 1) != 0;
  std::uint64_t kept = q.value >> 1;
  if (half && (q.remainder || (kept & 1) != 0)) ++kept;
  const double magnitude = std::ldexp(static_cast<double>(kept), static_cast<int>(1 - shift));
  if (magnitude == 0.0 || std::isinf(magnitude)) return std::nullopt;
  return negative ? -magnitude : magnitude;
}

bool isDecimalWithExponent(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  bool digits = false;
  bool point = false;
  for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
    if (isDigit(text[i])) {
      digits = true;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  if (!digits) return false;
  if (i == text.size()) return true;
  ++i;  // the e
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  if (i == text.size()) return false;
  for (; i < text.size(); ++i) {
    if (!isDigit(text[i])) return false;
  }
  return true;
}

namespace {

// The exponent after the e, held far beyond any exponent that leaves a
// double and far from overflowing.
std::int64_t exponentOf(std::string_view exponentText) {
  constexpr std::int64_t exponentLimit = 1'000'000'000;
  std::int64_t exponent = 0;
  const bool negativeExponent = exponentText.front() == '-';
  if (exponentText.front() == '+' || exponentText.front() == '-') exponentText.remove_prefix(1);
  for (const char byte : exponentText) {
    // cppcheck-suppress useStlAlgorithm ; digits read as digits are everywhere
    exponent = std::min(exponent * 10 + (byte - '0'), exponentLimit);
  }
  return negativeExponent ? -exponent : exponent;
}

// A decimal as digits * 10^scale: the digits without their point and
// leading zeros.
struct ScaledDigits {
  std::string digits;
  std::int64_t scale = 0;
};

ScaledDigits scaledDigitsOf(std::string_view mantissa, std::int64_t exponent) {
  ScaledDigits value{{}, exponent};
  bool point = false;
  for (const char byte : mantissa) {
    if (byte == '.') {
      point = true;
    } else if (isDigit(byte)) {
      if (point) --value.scale;
      if (!value.digits.empty() || byte != '0') value.digits.push_back(byte);
    }
  }
  return value;
}

// Up to 15 digits are exact in a double, and so are the powers of ten up to
// 1e22: one multiplication or division rounds once, correctly. Nothing for a
// value outside that.
std::optional<double> exactlyScaled(const ScaledDigits& value) {
  constexpr std::size_t exactDigits = 15;
  constexpr std::array<double, 23> exactPowers{1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                               1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                               1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  constexpr auto largestExactPower = static_cast<std::int64_t>(exactPowers.size() - 1);
  const std::int64_t scale = value.scale;
  if (value.digits.size() > exactDigits || scale < -largestExactPower ||
      scale > largestExactPower) {
    return std::nullopt;
  }
  std::uint64_t whole = 0;
  for (const char byte : value.digits) {
    // cppcheck-suppress useStlAlgorithm ; digits read as digits are everywhere
    whole = whole * 10 + static_cast<std::uint64_t>(byte - '0');
  }
  const double power = exactPowers[static_cast<std::size_t>(scale < 0 ? -scale : scale)];
  return scale < 0 ? static_cast<double>(whole) / power : static_cast<double>(whole) * power;
}

}  // namespace

std::optional<double> readExactDecimalWithExponent(std::string_view text) {
  if (!isDecimalWithExponent(text)) return std::nullopt;
  const std::size_t e = std::min(text.find_first_of("eE"), text.size());
  const std::string_view mantissa = text.substr(0, e);
  const std::int64_t exponent = e < text.size() ? exponentOf(text.substr(e + 1)) : 0;
  const ScaledDigits value = scaledDigitsOf(mantissa, exponent);
  if (value.digits.empty()) return readExactDecimal(mantissa);  // zero, with its sign
  const bool negative = mantissa.front() == '-';
  if (const auto magnitude = exactlyScaled(value)) return negative ? -*magnitude : *magnitude;

  // 10^(top - 1) <= value < 10^top. Subtle: judged before the value is
  // written out, so that "1e999999" never becomes a million digits.
  const std::string& digits = value.digits;
  const std::int64_t scale = value.scale;
  const std::int64_t top = static_cast<std::int64_t>(digits.size()) + scale;
  constexpr std::int64_t largestTop = 309;    // the largest double is below 1e309
  constexpr std::int64_t smallestTop = -324;  // below 1e-324 becomes zero
  if (top > largestTop || top < smallestTop) return std::nullopt;

  std::string plain = negative ? "-" : "";
  if (scale >= 0) {
    plain.append(digits).append(static_cast<std::size_t>(scale), '0');
  } else if (top <= 0) {
    plain.append("0.").append(static_cast<std::size_t>(-top), '0').append(digits);
  } else {
    const auto whole = static_cast<std::size_t>(top);
    plain.append(digits, 0, whole).append(".").append(digits, whole);
  }
  return readExactDecimal(plain);
}

std::string formatExactFixed(double value, int decimals) {
  const bool negative = std::signbit(value);
  std::string text = negative ? "-" : "";
  if (std::isnan(value)) return text + "nan";
  if (std::isinf(value)) return text + "inf";

  // value = m * 2^e exactly.
  const std::uint64_t bits = bitsOf(value);
  const auto biased = static_cast<std::int64_t>(bits >> 52 & 0x7FF);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  const std::uint64_t m = biased == 0 ? fraction : fraction | std::uint64_t{1} << 52;
  const std::int64_t e = (biased == 0 ? 1 : biased) - 1075;

  std::string digits;
  Limbs rest;  // the fraction, over 2^(32 * rest.size())
  if (e >= 0) {
    digits = decimalDigits(shiftedLeft(fromUnsigned(m), static_cast<std::size_t>(e)));
  } else {
    const auto fractionBits = static_cast<std::size_t>(-e);
    digits = decimalDigits(fromUnsigned(fractionBits >= 64 ? 0 : m >> fractionBits));
    const std::uint64_t below =
        fractionBits >= 64 ? m : m & ((std::uint64_t{1} << fractionBits) - 1);
    const std::size_t limbs = (fractionBits + 31) / 32;
    rest = shiftedLeft(fromUnsigned(below), limbs * 32 - fractionBits);
    rest.resize(limbs, 0);
  }

  // Each digit after the point is what ten times the fraction carries out.
  for (int i = 0; i < decimals; ++i) {
    std::uint64_t carry = 0;
    for (std::uint32_t& limb : rest) {
      const std::uint64_t product = std::uint64_t{limb} * 10 + carry;
      limb = static_cast<std::uint32_t>(product);
      carry = product >> 32;
    }
    digits.push_back(static_cast<char>('0' + carry));
  }

  // Above one half rounds up, one half exactly to an even last digit.
  bool up = false;
  if (!rest.empty() && (rest.back() & 0x80000000U) != 0) {
    const bool exactlyHalf =
        rest.back() == 0x80000000U &&
        std::all_of(rest.begin(), rest.end() - 1, [](std::uint32_t limb) { return limb == 0; });
    up = !exactlyHalf || (digits.back() - '0') % 2 == 1;
  }
  if (up) {
    std::size_t position = digits.size();
    while (position > 0 && digits[position - 1] == '9') digits[--position] = '0';
    if (position == 0) {
      digits.insert(digits.begin(), '1');
    } else {
      ++digits[position - 1];
    }
  }

  const std::size_t whole = digits.size() - static_cast<std::size_t>(decimals);
  text.append(digits, 0, whole);
  if (decimals > 0) text.append(".").append(digits, whole);
  return text;
}

}  // namespace varistellar::textio
