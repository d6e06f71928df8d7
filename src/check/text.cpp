// The checker's text helpers.
#include "check/text.h"

#include <charconv>

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
  if (!isPlainDecimal(text)) return std::nullopt;
  if (text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc{}) return std::nullopt;
  return value;
}

bool isInteger(std::string_view text) {
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
  if (text.empty()) return false;
  for (const char c : text) {
    if (!isDigit(c)) return false;
  }
  return true;
}

std::string quoted(std::string_view text) {
  static constexpr std::size_t shown = 40;
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size() && i < shown; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c <= 0x7E) {
      out.push_back(static_cast<char>(c));
    } else {
      static constexpr char hex[] = "0123456789ABCDEF";
      out.append("\\x").push_back(hex[c >> 4]);
      out.push_back(hex[c & 0xF]);
    }
  }
  if (text.size() > shown) out.append("...");
  out.push_back('"');
  return out;
}

}  // namespace varistellar::check
