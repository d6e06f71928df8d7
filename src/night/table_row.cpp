// Splitting a row of titled columns.
#include "night/table_row.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

#include "textio/exact_decimal.h"

namespace varistellar::night {
namespace {

bool isBlank(char byte) { return byte == ' ' || byte == '\t'; }

// NaN and infinities, as tables write a value that could not be measured.
bool isNotANumber(std::string_view field) {
  if (!field.empty() && field.front() == '-') field.remove_prefix(1);
  const auto is = [field](std::string_view word) {
    return field.size() == word.size() &&
           std::equal(field.begin(), field.end(), word.begin(), [](char byte, char lower) {
             return (byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte) ==
                    lower;
           });
  };
  return is("nan") || is("inf") || is("infinity");
}

// The double nearest to a decimal number with an optional exponent; nothing
// for other text, NaN, infinities and values beyond the doubles. The standard library's
// reader where it has one (the fastest); the web page's has none, and there
// our own exact reader gives the same, correctly rounded, values.
std::optional<double> decimalValue(std::string_view field) {
#if defined(__cpp_lib_to_chars)
  double value = 0.0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  const bool whole = end == field.data() + field.size() && error == std::errc{};
  if (!whole || !std::isfinite(value)) return std::nullopt;
  return value;
#else
  return textio::readExactDecimalWithExponent(field);
#endif
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::size_t TableRow::split(std::string_view line) {
  count_ = 0;
  const char* const end = line.data() + line.size();
  const char* at = line.data();
  while (count_ < fields_.size()) {
    if (separator_ == ',' && at < end && *at == '"') {
      // A quoted field runs to the quote that is not doubled.
      const char* close = at + 1;
      while (close < end && (*close != '"' || (close + 1 < end && close[1] == '"'))) {
        close += *close == '"' ? 2 : 1;
      }
      fields_[count_++] = {at + 1, static_cast<std::size_t>((close < end ? close : end) - at - 1)};
      const void* next = close < end
                             ? std::memchr(close, separator_, static_cast<std::size_t>(end - close))
                             : nullptr;
      if (next == nullptr) break;
      at = static_cast<const char*>(next) + 1;
      continue;
    }
    const auto* next =
        static_cast<const char*>(std::memchr(at, separator_, static_cast<std::size_t>(end - at)));
    if (next == nullptr) {
      fields_[count_++] = {at, static_cast<std::size_t>(end - at)};
      break;
    }
    fields_[count_++] = {at, static_cast<std::size_t>(next - at)};
    at = next + 1;
  }
  return count_;
}

char separatorOf(std::string_view titleLine) {
  return titleLine.find('\t') != std::string_view::npos ? '\t' : ',';
}

FieldNumber readFieldNumber(std::string_view field) {
  field = trimmed(field);
  if (field.empty()) return {};
  if (field.front() == '+') field.remove_prefix(1);
  if (const std::optional<double> value = decimalValue(field)) {
    return {FieldNumber::Kind::number, *value};
  }
  // NaN, an infinity, or a number beyond the doubles: not measured.
  if (isNotANumber(field) || textio::isDecimalWithExponent(field)) return {};
  return {FieldNumber::Kind::notNumber, 0.0};
}

}  // namespace varistellar::night
