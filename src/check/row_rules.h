// The rules of one observation line, as two tables: rules applied to each
// field, and rules applied to the row as a whole.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <numeric>
#include <optional>
#include <string>
#include <string_view>

#include "aeff/format.h"
#include "check/rules.h"

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

using FieldCheck = std::optional<std::string> (*)(const Row& row, aeff::Field field);
using RowCheck = std::optional<RowFinding> (*)(const Row& row);

struct FieldRule {
  Rule rule;
  FieldCheck check;
  // The rule can hold only for a field that is empty or has edge blanks, so
  // a plain field is passed over without asking.
  bool onlyPadded;
};
// The fields a row rule reads, one bit each: a rule whose fields are the
// previous row's bytes holds again exactly when it held there.
using FieldSet = std::uint16_t;
[[nodiscard]] constexpr FieldSet fieldSet(std::initializer_list<aeff::Field> fields) {
  return std::accumulate(fields.begin(), fields.end(), FieldSet{0},
                         [](FieldSet set, aeff::Field f) {
                           return static_cast<FieldSet>(set | 1u << aeff::index(f));
                         });
}

inline constexpr FieldSet allFields = (1u << aeff::fieldCount) - 1;

struct RowRule {
  Rule rule;
  RowCheck check;
  FieldSet reads;
};

// Reads the numbers of a row whose fields are filled in: each numeric
// field's plain decimal value (a MAG without its '<'), or none; and which
// fields are na.
void readNumbers(Row& row);
// The same for one field.
void readNumber(Row& row, std::size_t field);

extern const std::array<FieldRule, 4> fieldRules;
extern const std::array<RowRule, 36> rowRules;

}  // namespace varistellar::check
