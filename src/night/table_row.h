// One row of a table of titled columns (TAB- or comma-separated, CSV fields
// in double quotes), split once and only as far as the last column needed:
// the fields are views into the line, kept in one array that is reused for
// every row, so a row of any length costs no allocation.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace varistellar::night {

class TableRow {
 public:
  // `separator`: TAB or comma; `lastColumn`: the highest index needed.
  TableRow(char separator, std::size_t lastColumn)
      : separator_{separator}, fields_(lastColumn + 1) {}

  // Splits `line` up to the last column needed; how many fields it holds
  // (up to that column).
  std::size_t split(std::string_view line);
  // The field at `column`, without the quotes; empty when the row is shorter.
  [[nodiscard]] std::string_view operator[](std::size_t column) const {
    return column < count_ ? fields_[column] : std::string_view{};
  }

 private:
  char separator_;
  std::vector<std::string_view> fields_;
  std::size_t count_ = 0;
};

// The separator of a title line: TAB when it holds one, else the comma.
[[nodiscard]] char separatorOf(std::string_view titleLine);

// A field read as a number. Empty, NaN and infinite are missing values
// (what the program writes when it measured nothing); text that is no
// number at all is not a number.
struct FieldNumber {
  enum class Kind { number, missing, notNumber };
  Kind kind = Kind::missing;
  double value = 0.0;
};
[[nodiscard]] FieldNumber readFieldNumber(std::string_view field);

}  // namespace varistellar::night
