// The shared words.
#include "aeff/vocabulary.h"

#include <algorithm>
#include <array>
#include <utility>

#include "aeff/format.h"

namespace varistellar::aeff {

bool isPlaceholder(std::string_view text) {
  static constexpr std::array<std::string_view, 4> placeholders{"na", "n/a", "xxx", "?"};
  return std::any_of(placeholders.begin(), placeholders.end(),
                     [text](std::string_view placeholder) { return sameWord(text, placeholder); });
}

std::string_view trimBlanks(std::string_view text) {
  const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string byteName(unsigned char byte) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string name = "0x";
  name.push_back(hex[byte >> 4]);
  name.push_back(hex[byte & 0xF]);
  return name;
}

std::string spokenByteName(unsigned char byte) {
  const std::string code = byteName(byte);
  switch (byte) {
    case 0x00: return "NUL (" + code + ")";
    case '\t': return "TAB (" + code + ")";
    case '\r': return "CR (" + code + ")";
    case 0x1B: return "ESC (" + code + ")";
    case 0x7F: return "DEL (" + code + ")";
    default: return "byte " + code;
  }
}

std::string filterListText() {
  std::string text;
  for (std::size_t i = 0; i < listedFilters.size(); ++i) {
    if (i != 0) text.append(i + 1 == listedFilters.size() ? " or " : ", ");
    text.append(listedFilters[i]);
  }
  return text;
}

std::optional<char> standardFilter(std::string_view filterName) {
  static constexpr std::array<std::pair<std::string_view, char>, 7> standards{
      {{"B", 'B'}, {"V", 'V'}, {"R", 'R'}, {"I", 'I'}, {"TB", 'B'}, {"TG", 'V'}, {"TR", 'R'}}};
  for (const auto& [name, standard] : standards) {
    if (sameWord(filterName, name)) return standard;
  }
  return std::nullopt;
}

}  // namespace varistellar::aeff
