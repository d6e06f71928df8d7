// The NOTES subfields, read in one pass without copying.
#include "aeff/notes_subfields.h"

#include "aeff/format.h"
#include "aeff/plain_decimal.h"

namespace varistellar::aeff {
namespace {

bool isKeyCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// A character that may replace '|': printable, and never part of a key or of
// the '=' after it.
bool canDelimit(char c) { return c > ' ' && c <= '~' && c != '=' && !isKeyCharacter(c); }

bool endsWithWord(std::string_view key, std::string_view tail) {
  return key.size() >= tail.size() && sameWord(key.substr(key.size() - tail.size()), tail);
}

bool holdsNumber(std::string_view key) {
  return endsWithWord(key, "MAG") || endsWithWord(key, "MAGINS") || endsWithWord(key, "ERR") ||
         sameWord(key, "VX") || sameWord(key, "CX") || sameWord(key, "KX");
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

NotesSubfields::Iterator::Iterator(std::string_view rest, char delimiter)
    : rest_{rest.empty() ? nullptr : rest.data()},
      end_{rest.data() + rest.size()},
      delimiter_{delimiter} {
  if (rest_ != nullptr) read();
}

void NotesSubfields::Iterator::read() {
  const char* const start = rest_ + 1;
  const char* stop = start;
  while (stop != end_ && *stop != delimiter_) ++stop;
  current_.text = {start, static_cast<std::size_t>(stop - start)};
  const std::size_t equals = current_.text.find('=');
  current_.paired = equals != std::string_view::npos;
  current_.key = current_.text.substr(0, equals);
  current_.value = current_.paired ? current_.text.substr(equals + 1) : std::string_view{};
}

NotesSubfields::Iterator& NotesSubfields::Iterator::operator++() {
  rest_ += current_.text.size() + 1;
  if (rest_ == end_) {
    rest_ = nullptr;
  } else {
    read();
  }
  return *this;
}

bool isSubfieldKey(const Subfield& subfield, std::string_view key) {
  return subfield.paired && sameWord(subfield.key, key);
}

std::optional<std::string_view> findSubfield(std::string_view notes, std::string_view key) {
  for (const Subfield& s : NotesSubfields{notes}) {
    if (isSubfieldKey(s, key)) return s.value;
  }
  return std::nullopt;
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
  for (const char c : key) {
    if (!isKeyCharacter(c)) return false;
  }
  return !holdsNumber(key) || isPlainDecimal(subfield.value);
}

std::optional<Subfield> firstMalformedSubfield(std::string_view notes) {
  for (const Subfield& s : NotesSubfields{notes}) {
    if (!isWellFormed(s)) return s;
  }
  return std::nullopt;
}

}  // namespace varistellar::aeff
