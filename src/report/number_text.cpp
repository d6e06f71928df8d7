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

std::string shownNumber(double value, int digits) {
  // Wide enough for the largest double's 309 digits before the point.
  static constexpr int widest = 320;
  return writtenNumber(value, widest + digits, digits);
}

std::string shownNumberBeside(double value, int digits, double limit) {
  static constexpr int mostDigits = 17;
  std::string text = shownNumber(value, digits);
  while (value != limit && digits < mostDigits && text == shownNumber(limit, digits)) {
    text = shownNumber(value, ++digits);
  }
  return text;
}

double writtenMagnitudeError(double MERR) {
  const std::string written = writtenNumber(MERR, 6, 3);
  const textio::RealConversion read = textio::convertRealText(written);
  return read.ok ? read.value : MERR;
}

}  // namespace varistellar::report
