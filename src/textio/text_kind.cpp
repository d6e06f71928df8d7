// Telling a file's kind of text from its first bytes.
#include "textio/text_kind.h"

namespace varistellar::textio {
namespace {

// UTF-16 without a byte order mark: in a first line of ASCII text every
// other byte is NUL, the odd ones (little-endian) or the even ones
// (big-endian), and no other byte is.
bool looksLikeUtf16(std::string_view firstLine) {
  if (firstLine.size() < 2) return false;
  for (const std::size_t nulParity : {std::size_t{1}, std::size_t{0}}) {
    bool matches = true;
    for (std::size_t i = 0; i < firstLine.size() && matches; ++i) {
      matches = (firstLine[i] == '\0') == (i % 2 == nulParity);
    }
    if (matches) return true;
  }
  return false;
}

}  // namespace

TextKind textKindOf(std::string_view beginning) {
  if (beginning.starts_with("\xFF\xFE") || beginning.starts_with("\xFE\xFF")) {
    return TextKind::utf16;
  }
  const std::size_t lf = beginning.find('\n');
  if (looksLikeUtf16(beginning.substr(0, lf))) return TextKind::utf16;
  if (beginning.find('\0') != std::string_view::npos) return TextKind::notText;
  if (lf == std::string_view::npos && beginning.find('\r') != std::string_view::npos) {
    return TextKind::crOnly;
  }
  return TextKind::lines;
}

}  // namespace varistellar::textio
