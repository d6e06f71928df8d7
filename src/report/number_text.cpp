// Numbers without their leading blanks.
#include "report/number_text.h"

#include <algorithm>
#include <string_view>

#include "textio/fields.h"

namespace varistellar::report {

std::string writtenNumber(double value, int width, int digits) {
  std::string text(static_cast<std::size_t>(width), ' ');
  textio::formatFixedField(value, width, digits, text.data());
  text.erase(0, text.find_first_not_of(' '));
  return text;
}

std::optional<std::string> trimmedNumber(double value, int width, int digits) {
  std::string text = writtenNumber(value, width, digits);
  const bool isNumber = std::all_of(text.begin(), text.end(), [](char c) {
    return c == '-' || c == '.' || (c >= '0' && c <= '9');
  });
  if (!isNumber) return std::nullopt;
  return text;
}

double writtenMagnitudeError(double MERR) {
  const std::string written = writtenNumber(MERR, 6, 3);
  const textio::RealConversion read = textio::convertRealText(written);
  return read.ok ? read.value : MERR;
}

}  // namespace varistellar::report
