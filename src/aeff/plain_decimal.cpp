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
  // One pass: the prefix reader gives convertRealText's value, and a plain
  // decimal number is exactly a prefix that takes the whole text.
  const textio::PlainDecimalPrefix prefix = textio::readPlainDecimalPrefix(text);
  if (!prefix.ok || prefix.length != text.size()) return std::nullopt;
  return prefix.value;
}

}  // namespace varistellar::aeff
