// The checker's text helpers.
#include "check/text.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "textio/exact_decimal.h"

namespace varistellar::check {
namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }
}  // namespace

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<double> plainDecimalValue(std::string_view text) {
  // Up to 15 digits, the digits as an integer are exact in a double, and so
  // is the power of ten: one division gives the correctly rounded value.
  const char* p = text.data();
  const char* const end = p + text.size();
  const bool negative = p != end && *p == '-';
  if (p != end && (*p == '+' || *p == '-')) ++p;
  // Subtle: past 19 digits the integer wraps around; it is then not used.
  std::uint64_t digits = 0;
  const char* const whole = p;
  for (; p != end && isDigit(*p); ++p) digits = digits * 10 + static_cast<unsigned char>(*p - '0');
  std::size_t count = static_cast<std::size_t>(p - whole);
  std::size_t decimals = 0;
  if (p != end && *p == '.') {
    const char* const fraction = ++p;
    for (; p != end && isDigit(*p); ++p)
      digits = digits * 10 + static_cast<unsigned char>(*p - '0');
    decimals = static_cast<std::size_t>(p - fraction);
    count += decimals;
  }
  if (count == 0 || p != end) return std::nullopt;
  if (count <= 15) {
    static constexpr std::array<double, 16> powers{1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const double value = static_cast<double>(digits) / powers[decimals];
    return negative ? -value : value;
  }
  return textio::readExactDecimal(text);
}

bool isInteger(std::string_view text) {
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
  if (text.empty()) return false;
  return std::all_of(text.begin(), text.end(), isDigit);
}

}  // namespace varistellar::check
