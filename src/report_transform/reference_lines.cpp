// The #CREFMAG= and #KREFMAG= lines.
#include "report_transform/reference_lines.h"

#include <cmath>
#include <optional>

#include "aeff/format.h"
#include "aeff/plain_decimal.h"
#include "check/text.h"

namespace varistellar::report_transform {
namespace {

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == ',' || c == ';'; }

// The item `n` (from 0) of a list separated by blanks, commas or semicolons,
// as a number; NaN when it is missing or no plain decimal number.
double item(std::string_view list, int n) {
  std::size_t at = 0;
  for (int i = 0;; ++i) {
    while (at < list.size() && isSeparator(list[at])) ++at;
    if (at == list.size()) return std::numeric_limits<double>::quiet_NaN();
    std::size_t end = at;
    while (end < list.size() && !isSeparator(list[end])) ++end;
    if (i == n) {
      const std::optional<double> value = aeff::readPlainDecimal(list.substr(at, end - at));
      return value ? *value : std::numeric_limits<double>::quiet_NaN();
    }
    at = end;
  }
}

}  // namespace

void ReferenceLines::commentLine(std::string_view line) {
  if (line.size() < 9) return;  // "#KREFMAG=" at the least
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return;
  const std::string_view key = check::trimBlanks(line.substr(1, equals - 1));
  const std::string_view value = line.substr(equals + 1);
  if (aeff::sameWord(key, "CREFMAG")) {
    comparison_ = item(value, 0);
    comparisonLineCheckStar_ = item(value, 2);
    ++version_;
  } else if (aeff::sameWord(key, "KREFMAG")) {
    checkStarLine_ = item(value, 0);
    ++version_;
  }
}

double ReferenceLines::checkStar() const {
  return std::isnan(comparisonLineCheckStar_) ? checkStarLine_ : comparisonLineCheckStar_;
}

}  // namespace varistellar::report_transform
