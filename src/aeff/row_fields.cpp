// Splitting a row into its fields.
#include "aeff/row_fields.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "aeff/vocabulary.h"
#include "textio/byte_words.h"

namespace varistellar::aeff {

namespace {

// Calls `visit` with the place of each `delimiter` in `line`, in order, until
// it returns false: eight bytes at a time, for a row's fields are short and
// a search per field would cost more than the bytes.
template <typename Visit>
void eachDelimiter(std::string_view line, char delimiter, Visit visit) {
  const std::uint64_t pattern = textio::repeatedByte(delimiter);
  const char* const bytes = line.data();
  std::size_t at = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (; at + 8 <= line.size(); at += 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, bytes + at, sizeof word);
      for (std::uint64_t found = textio::zeroBytes(word ^ pattern); found != 0;
           found &= found - 1) {
        if (!visit(at + static_cast<std::size_t>(std::countr_zero(found)) / 8)) return;
      }
    }
  }
  for (; at < line.size(); ++at) {
    if (bytes[at] == delimiter && !visit(at)) return;
  }
}

}  // namespace

std::optional<RowFields> splitRow(std::string_view line, char delimiter) {
  RowFields split{};
  std::size_t count = 0;
  std::size_t start = 0;
  bool tooMany = false;
  eachDelimiter(line, delimiter, [&](std::size_t at) {
    if (count + 1 == split.size()) {
      tooMany = true;
      return false;
    }
    split[count++] = line.substr(start, at - start);
    start = at + 1;
    return true;
  });
  if (tooMany || count + 1 != split.size()) return std::nullopt;
  split[count] = line.substr(start);
  return split;
}

std::string_view rowField(std::string_view line, char delimiter, std::size_t index) {
  std::size_t seen = 0;
  std::size_t start = 0;
  std::size_t end = std::string_view::npos;
  eachDelimiter(line, delimiter, [&](std::size_t at) {
    if (seen == index) {
      end = at;
      return false;
    }
    ++seen;
    start = at + 1;
    return true;
  });
  if (seen < index) return {};
  return trimBlanks(line.substr(start, end == std::string_view::npos ? end : end - start));
}

}  // namespace varistellar::aeff
