// The checker's text helpers.
#include "check/text.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "textio/exact_decimal.h"

namespace varistellar::check {
namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool isPlainDecimal(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  }
  return digits != 0 && i == text.size();
}

std::optional<double> plainDecimalValue(std::string_view text) {
  // Up to 15 digits, the digits as an integer are exact in a double, and so
  // is the power of ten: one division gives the correctly rounded value.
  std::size_t i = 0;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::uint64_t digits = 0;
  int count = 0;
  int decimals = 0;
  for (; i < text.size() && isDigit(text[i]); ++i, ++count)
    digits = digits * 10 + static_cast<std::uint64_t>(text[i] - '0');
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && isDigit(text[i]); ++i, ++count, ++decimals)
      digits = digits * 10 + static_cast<std::uint64_t>(text[i] - '0');
  }
  if (count == 0 || i != text.size()) return std::nullopt;
  if (count <= 15) {
    static constexpr std::array<double, 16> powers{1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const double value = static_cast<double>(digits) / powers[static_cast<std::size_t>(decimals)];
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
