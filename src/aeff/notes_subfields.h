// The NOTES field read as the format lays it out: free text first, then
// `|KEY=value` subfields. The checker, the transformation and the picture all
// read NOTES through this one parser, so that they agree on every subfield.
#pragma once

#include <cstddef>
#include <cstring>
#include <iterator>
#include <optional>
#include <string_view>

#include "aeff/format.h"

namespace varistellar::aeff {

// One subfield: the text between its sub-delimiter and the next one.
struct Subfield {
  std::string_view text;   // all of it
  std::string_view key;    // before its first '=' (all of `text` when it has none)
  std::string_view value;  // after its first '='
  bool paired = false;     // `text` holds a '='
};

// The sub-delimiter is '|'. Notes that start with `DELIM=c` (or with the
// subfield `|DELIM=c`, the key in any case) use the character c instead for
// the rest of the field, for a report whose own delimiter would clash with
// '|'. That switch is no subfield of its own. The character must be a
// printable one that cannot stand inside a key: not a blank, a letter, a
// digit, '_' or '='; otherwise `DELIM=...` is an ordinary subfield.
// The format names this switch without saying more; this is how it is read
// here: at the very start only, one character, in force to the field's end.
class NotesSubfields {
 public:
  explicit NotesSubfields(std::string_view notes);

  // The text before the first sub-delimiter.
  [[nodiscard]] std::string_view freeText() const { return freeText_; }
  [[nodiscard]] char delimiter() const { return delimiter_; }

  // The subfields in their order, as views into the notes; nothing is copied.
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Subfield;
    using difference_type = std::ptrdiff_t;
    using pointer = const Subfield*;
    using reference = const Subfield&;

    Iterator() = default;
    [[nodiscard]] reference operator*() const { return current_; }
    [[nodiscard]] pointer operator->() const { return &current_; }
    Iterator& operator++() {
      rest_ += current_.text.size() + 1;
      if (rest_ == end_) {
        rest_ = nullptr;
      } else {
        read();
      }
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      ++*this;
      return before;
    }
    [[nodiscard]] bool operator==(const Iterator& other) const { return rest_ == other.rest_; }

   private:
    friend class NotesSubfields;
    Iterator(std::string_view rest, char delimiter)
        : rest_{rest.empty() ? nullptr : rest.data()},
          end_{rest.data() + rest.size()},
          delimiter_{delimiter} {
      if (rest_ != nullptr) read();
    }
    // Inline, with the loops that call it: the checker reads every row's notes.
    void read() {
      const char* const start = rest_ + 1;
      const auto left = static_cast<std::size_t>(end_ - start);
      const void* const next = std::memchr(start, delimiter_, left);
      current_.text = {start, next == nullptr ? left
                                              : static_cast<std::size_t>(
                                                    static_cast<const char*>(next) - start)};
      const std::size_t equals = current_.text.find('=');
      current_.paired = equals != std::string_view::npos;
      current_.key = current_.text.substr(0, equals);
      current_.value = current_.paired ? current_.text.substr(equals + 1) : std::string_view{};
    }

    // From the current subfield's sub-delimiter on; null at the end.
    const char* rest_ = nullptr;
    const char* end_ = nullptr;
    char delimiter_ = '|';
    Subfield current_{};
  };

  [[nodiscard]] Iterator begin() const { return Iterator{subfields_, delimiter_}; }
  [[nodiscard]] Iterator end() const { return Iterator{}; }

 private:
  std::string_view freeText_;
  std::string_view subfields_;  // from the first sub-delimiter on
  char delimiter_ = '|';
};

// Keys compare without regard to case, as all words of the format do, and as
// written: `| CREFMAG = 12.3` has the key " CREFMAG ", no CREFMAG.
[[nodiscard]] inline bool isSubfieldKey(const Subfield& subfield, std::string_view key) {
  return subfield.paired && sameWord(subfield.key, key);
}

// The value of the first subfield with `key`, if any (empty for `|KEY=`).
[[nodiscard]] std::optional<std::string_view> findSubfield(std::string_view notes,
                                                           std::string_view key);

// A subfield's value as a plain decimal number; nothing for any other value.
[[nodiscard]] std::optional<double> subfieldNumber(const Subfield& subfield);
// The first subfield with `key` as a number; nothing when it is missing or no
// plain decimal number.
[[nodiscard]] std::optional<double> subfieldNumber(std::string_view notes, std::string_view key);

// Whether a subfield is KEY=value: a key of letters, digits and '_', a value
// that is not empty, and a plain decimal number for keys ending in MAG, MAGINS
// or ERR and for VX, CX and KX (airmasses).
[[nodiscard]] bool isWellFormed(const Subfield& subfield);
// The first subfield of the notes that is not well formed, if any.
[[nodiscard]] std::optional<Subfield> firstMalformedSubfield(std::string_view notes);

}  // namespace varistellar::aeff
