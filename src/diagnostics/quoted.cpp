// Input text quoted for a message, and names shown in one.
#include "diagnostics/quoted.h"

namespace varistellar::diagnostics {
namespace {

bool isPrintableAscii(unsigned char c) { return c >= 0x20 && c <= 0x7E; }

void appendEscaped(std::string& out, unsigned char c) {
  static constexpr char hex[] = "0123456789ABCDEF";
  out.append("\\x").push_back(hex[c >> 4]);
  out.push_back(hex[c & 0xF]);
}

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Code points that move or break the line a terminal shows, though they are
// valid UTF-8: C1 controls (CSI among them), line and paragraph separators and
// the bidirectional overrides that can make a name read as another.
bool isInvisibleControl(char32_t point) {
  return (point >= 0x80 && point <= 0x9F) || (point >= 0x2028 && point <= 0x202E) ||
         (point >= 0x2066 && point <= 0x2069);
}

// The length of the well-formed UTF-8 sequence of a shown character at
// `at`, or 0 when the bytes there are no such sequence.
std::size_t shownSequenceAt(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 0;
  char32_t point = 0;
  unsigned char low = 0x80;   // the range of the second byte, narrowed where
  unsigned char high = 0xBF;  // overlong forms and surrogates would begin
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    point = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    point = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    point = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() - at < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto c = static_cast<unsigned char>(text[at + i]);
    if (!isContinuation(c) || (i == 1 && (c < low || c > high))) return 0;
    point = (point << 6) | (c & 0x3F);
  }
  return isInvisibleControl(point) ? 0 : length;
}

}  // namespace

std::string quoted(std::string_view text) {
  static constexpr std::size_t shown = 40;
  return "\"" + escaped(text.substr(0, shown)) + (text.size() > shown ? "...\"" : "\"");
}

std::string escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char byte : text) {
    const auto c = static_cast<unsigned char>(byte);
    if (isPrintableAscii(c)) {
      out.push_back(byte);
    } else {
      appendEscaped(out, c);
    }
  }
  return out;
}

std::string shownName(std::string_view name, std::size_t longest) {
  std::string out;
  std::size_t characters = 0;
  std::size_t i = 0;
  for (; i < name.size() && characters < longest; ++characters) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (isPrintableAscii(c)) {
      out.push_back(static_cast<char>(c));
      ++i;
    } else if (const std::size_t length = shownSequenceAt(name, i); length != 0) {
      out.append(name.substr(i, length));
      i += length;
    } else {
      appendEscaped(out, c);
      ++i;
    }
  }
  if (i < name.size()) out.append("...");
  return out;
}

}  // namespace varistellar::diagnostics
