// Input text quoted for a message.
#include "diagnostics/quoted.h"

namespace varistellar::diagnostics {

std::string quoted(std::string_view text) {
  static constexpr std::size_t shown = 40;
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size() && i < shown; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c <= 0x7E) {
      out.push_back(static_cast<char>(c));
    } else {
      static constexpr char hex[] = "0123456789ABCDEF";
      out.append("\\x").push_back(hex[c >> 4]);
      out.push_back(hex[c & 0xF]);
    }
  }
  if (text.size() > shown) out.append("...");
  out.push_back('"');
  return out;
}

std::string escaped(std::string_view text) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (const char byte : text) {
    const auto c = static_cast<unsigned char>(byte);
    if (c >= 0x20 && c <= 0x7E) {
      out.push_back(byte);
    } else {
      out.append("\\x").push_back(hex[c >> 4]);
      out.push_back(hex[c & 0xF]);
    }
  }
  return out;
}

}  // namespace varistellar::diagnostics
