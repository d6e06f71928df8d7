// Plain decimal numbers.
#include "aeff/plain_decimal.h"

#include "textio/fields.h"

namespace varistellar::aeff {

bool isPlainDecimal(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  bool digits = false;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char byte = text[i];
    if (byte >= '0' && byte <= '9') {
      digits = true;
    } else if (byte == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digits;
}

std::optional<double> readPlainDecimal(std::string_view text) {
  if (!isPlainDecimal(text)) return std::nullopt;
  const textio::RealConversion conversion = textio::convertRealText(text);
  if (!conversion.ok) return std::nullopt;
  return conversion.value;
}

}  // namespace varistellar::aeff
