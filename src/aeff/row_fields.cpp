// Splitting a row into its fields.
#include "aeff/row_fields.h"

#include "aeff/vocabulary.h"

namespace varistellar::aeff {

std::optional<RowFields> splitRow(std::string_view line, char delimiter) {
  RowFields split{};
  std::size_t count = 0;
  for (std::size_t at = 0;;) {
    const std::size_t end = line.find(delimiter, at);
    if (count == split.size()) return std::nullopt;
    split[count++] = line.substr(at, end == std::string_view::npos ? end : end - at);
    if (end == std::string_view::npos) break;
    at = end + 1;
  }
  if (count != split.size()) return std::nullopt;
  return split;
}

std::string_view rowField(std::string_view line, char delimiter, std::size_t index) {
  std::size_t at = 0;
  for (std::size_t i = 0; i < index; ++i) {
    const std::size_t next = line.find(delimiter, at);
    if (next == std::string_view::npos) return {};
    at = next + 1;
  }
  const std::size_t end = line.find(delimiter, at);
  return trimBlanks(line.substr(at, end == std::string_view::npos ? end : end - at));
}

}  // namespace varistellar::aeff
