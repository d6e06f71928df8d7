// The #CREFMAG= and #KREFMAG= lines.
#include "report_transform/reference_lines.h"

#include <cmath>
#include <optional>

#include "aeff/format.h"
#include "aeff/plain_decimal.h"
#include "check/text.h"
#include "diagnostics/quoted.h"

namespace varistellar::report_transform {
namespace {

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == ';'; }

// A run of numbers joined by commas with no blank ("12.345,0.013") is a list
// only when each of them holds a point: in "12,895" the comma is a decimal
// comma, and taking 12 from it would transform the rows 0.895 mag wrong.
bool isCommaList(std::string_view token) {
  for (std::size_t at = 0; at <= token.size();) {
    std::size_t end = token.find(',', at);
    if (end == std::string_view::npos) end = token.size();
    const std::string_view piece = token.substr(at, end - at);
    if (piece.empty() || piece.find('.') == std::string_view::npos) return false;
    at = end + 1;
  }
  return true;
}

// The items of the list, separated by blanks or ';', or by commas beside a
// blank or as isCommaList has them.
std::vector<std::string_view> itemsOf(std::string_view list) {
  std::vector<std::string_view> items;
  std::size_t at = 0;
  while (at < list.size()) {
    while (at < list.size() && isSeparator(list[at])) ++at;
    std::size_t end = at;
    while (end < list.size() && !isSeparator(list[end])) ++end;
    std::string_view token = list.substr(at, end - at);
    at = end;
    while (!token.empty() && token.front() == ',') token.remove_prefix(1);
    while (!token.empty() && token.back() == ',') token.remove_suffix(1);
    if (token.empty()) continue;
    if (token.find(',') == std::string_view::npos || !isCommaList(token)) {
      items.push_back(token);
      continue;
    }
    for (std::size_t from = 0; from <= token.size();) {
      std::size_t comma = token.find(',', from);
      if (comma == std::string_view::npos) comma = token.size();
      items.push_back(token.substr(from, comma - from));
      from = comma + 1;
    }
  }
  return items;
}

}  // namespace

void ReferenceLines::commentLine(std::string_view line) {
  unread_.clear();
  if (line.size() < 9) return;  // "#KREFMAG=" at the least
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return;
  const std::string_view key = check::trimBlanks(line.substr(1, equals - 1));
  const std::string_view value = line.substr(equals + 1);
  const bool comparisonLine = aeff::sameWord(key, "CREFMAG");
  if (!comparisonLine && !aeff::sameWord(key, "KREFMAG")) return;
  const std::vector<std::string_view> items = itemsOf(value);
  // An item that is there but no plain decimal number counts as not given.
  const auto number = [&](std::size_t n, std::string_view whose) {
    const std::string_view text = n < items.size() ? items[n] : std::string_view{};
    const std::optional<double> read = aeff::readPlainDecimal(text);
    if (!text.empty() && !read) {
      unread_.push_back("#" + std::string{comparisonLine ? "CREFMAG" : "KREFMAG"} + "= gives " +
                        std::string{whose} + " as " + diagnostics::quoted(text) +
                        ", no plain decimal number, so it counts as not given; write a point "
                        "for the decimals and blanks between the numbers");
    }
    return read.value_or(std::numeric_limits<double>::quiet_NaN());
  };
  if (comparisonLine) {
    comparison_ = number(0, "the comparison's magnitude");
    comparisonLineCheckStar_ = number(2, "the check star's magnitude");
  } else {
    checkStarLine_ = number(0, "the check star's magnitude");
  }
  ++version_;
}

double ReferenceLines::checkStar() const {
  return std::isnan(comparisonLineCheckStar_) ? checkStarLine_ : comparisonLineCheckStar_;
}

}  // namespace varistellar::report_transform
