// Splitting a row of titled columns.
#include "night/table_row.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace varistellar::night {
namespace {

bool isBlank(char byte) { return byte == ' ' || byte == '\t'; }

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
    const void* next = std::memchr(at, separator_, static_cast<std::size_t>(end - at));
    const char* stop = next == nullptr ? end : static_cast<const char*>(next);
    fields_[count_++] = {at, static_cast<std::size_t>(stop - at)};
    if (next == nullptr) break;
    at = stop + 1;
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
  double value = 0.0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (end != field.data() + field.size() || error == std::errc::invalid_argument) {
    return {FieldNumber::Kind::notNumber, 0.0};
  }
  if (error == std::errc::result_out_of_range || !std::isfinite(value)) return {};
  return {FieldNumber::Kind::number, value};
}

}  // namespace varistellar::night
