// One observation line as the row rules read it: its fifteen fields with and
// without their edge blanks, their numbers, and the header values in force.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <numeric>
#include <optional>
#include <string>
#include <string_view>

#include "aeff/format.h"

namespace varistellar::check {

enum class DateKind : std::uint8_t { jd, hjd, excel, other };

struct FieldText {
  std::string_view text;     // the field without its edge blanks (what was kept of it)
  std::string_view padded;   // the field as written (what was kept of it)
  std::uint64_t length = 0;  // the padded field's whole length
  std::uint64_t trimmedLength = 0;
  std::uint64_t column = 0;      // of its first byte
  bool whole = true;             // all of it was kept
  std::optional<double> number;  // a plain decimal number (a MAG without its '<')
  bool na = false;               // the word na, in any case
};

struct Row {
  std::uint64_t line = 0;
  std::uint64_t number = 0;  // observation rows from 1
  DateKind date = DateKind::hjd;
  double latestJulianDate = 0;  // today + 1
  std::array<FieldText, aeff::fieldCount> fields{};
  // False while the rules only ask whether they hold: texts are then left
  // empty.
  bool describe = true;

  [[nodiscard]] const FieldText& operator[](aeff::Field f) const { return fields[aeff::index(f)]; }
  [[nodiscard]] bool is(aeff::Field f, std::string_view word) const;
  [[nodiscard]] bool isNa(aeff::Field f) const { return (*this)[f].na; }
};

struct RowFinding {
  aeff::Field field;  // where the finding points
  std::string text;
};

// A set of fields, one bit each: the fields a rule reads, or the fields of a
// row whose bytes differ from the previous row's.
using FieldSet = std::uint16_t;
[[nodiscard]] constexpr FieldSet fieldSet(std::initializer_list<aeff::Field> fields) {
  return std::accumulate(fields.begin(), fields.end(), FieldSet{0},
                         [](FieldSet set, aeff::Field f) {
                           return static_cast<FieldSet>(set | 1u << aeff::index(f));
                         });
}
inline constexpr FieldSet allFields = (1u << aeff::fieldCount) - 1;

// Reads one field's number from its text: its plain decimal value (a MAG
// without its '<') when its field is numeric, or none; and whether it is na.
void readNumber(Row& row, std::size_t field);

}  // namespace varistellar::check
