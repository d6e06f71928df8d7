// The NOTES subfields, read in one pass without copying.
#include "aeff/notes_subfields.h"

#include <algorithm>
#include <array>

#include "aeff/format.h"
#include "aeff/plain_decimal.h"

namespace varistellar::aeff {
namespace {

constexpr std::array<bool, 256> keyCharacters = [] {
  std::array<bool, 256> table{};
  for (int c = 'A'; c <= 'Z'; ++c) table[static_cast<std::size_t>(c)] = true;
  for (int c = 'a'; c <= 'z'; ++c) table[static_cast<std::size_t>(c)] = true;
  for (int c = '0'; c <= '9'; ++c) table[static_cast<std::size_t>(c)] = true;
  table['_'] = true;
  return table;
}();

bool isKeyCharacter(char c) { return keyCharacters[static_cast<unsigned char>(c)]; }

// A character that may replace '|': printable, and never part of a key or of
// the '=' after it.
bool canDelimit(char c) { return c > ' ' && c <= '~' && c != '=' && !isKeyCharacter(c); }

// Keys ending in MAG, MAGINS or ERR, and VX, CX and KX; told apart by their
// last letter first, since every subfield of a checked report is asked.
bool holdsNumber(std::string_view key) {
  switch (key.back() | 0x20) {
    case 'g': return key.size() >= 3 && sameWord(key.substr(key.size() - 3), "MAG");
    case 's': return key.size() >= 6 && sameWord(key.substr(key.size() - 6), "MAGINS");
    case 'r': return key.size() >= 3 && sameWord(key.substr(key.size() - 3), "ERR");
    case 'x':
      return key.size() == 2 &&
             ((key[0] | 0x20) == 'v' || (key[0] | 0x20) == 'c' || (key[0] | 0x20) == 'k');
    default: return false;
  }
}

}  // namespace

NotesSubfields::NotesSubfields(std::string_view notes) {
  constexpr std::string_view switchKey = "DELIM=";
  const std::string_view head = notes.starts_with('|') ? notes.substr(1) : notes;
  std::string_view body = notes;
  if (head.size() > switchKey.size() && sameWord(head.substr(0, switchKey.size()), switchKey) &&
      canDelimit(head[switchKey.size()])) {
    delimiter_ = head[switchKey.size()];
    body = head.substr(switchKey.size() + 1);
  }
  const std::size_t first = body.find(delimiter_);
  freeText_ = body.substr(0, first);
  subfields_ = first == std::string_view::npos ? std::string_view{} : body.substr(first);
}

std::optional<std::string_view> findSubfield(std::string_view notes, std::string_view key) {
  const NotesSubfields subfields{notes};
  const auto found = std::find_if(subfields.begin(), subfields.end(),
                                  [key](const Subfield& s) { return isSubfieldKey(s, key); });
  if (found == subfields.end()) return std::nullopt;
  return found->value;
}

std::optional<double> subfieldNumber(const Subfield& subfield) {
  return readPlainDecimal(subfield.value);
}

std::optional<double> subfieldNumber(std::string_view notes, std::string_view key) {
  const std::optional<std::string_view> value = findSubfield(notes, key);
  return value ? readPlainDecimal(*value) : std::nullopt;
}

bool isWellFormed(const Subfield& subfield) {
  const std::string_view key = subfield.key;
  if (!subfield.paired || key.empty() || subfield.value.empty()) return false;
  if (!std::all_of(key.begin(), key.end(), isKeyCharacter)) return false;
  return !holdsNumber(key) || isPlainDecimal(subfield.value);
}

std::optional<Subfield> firstMalformedSubfield(std::string_view notes) {
  const NotesSubfields subfields{notes};
  const auto found = std::find_if(subfields.begin(), subfields.end(),
                                  [](const Subfield& s) { return !isWellFormed(s); });
  if (found == subfields.end()) return std::nullopt;
  return *found;
}

}  // namespace varistellar::aeff
