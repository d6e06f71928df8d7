// The values of one report record, by the names the record's layouts give
// them: the format's fifteen fields and the NOTES subfields the check star's
// record carries. Each layout finds its values by its fields' names, turned
// into keys when the program is built.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "aeff/format.h"
#include "textio/fields.h"

namespace varistellar::report {

// The NOTES subfields a record may carry: the instrumental and catalogue
// magnitudes, a transformed record's standard colour of the target, and
// where MERR came from when it is not the table's error.
enum class Subfield : std::uint8_t { VMAGINS, KMAGINS, CREFMAG, KREFMAG, COLOR, MERRSRC };
inline constexpr std::array<std::string_view, 6> subfieldNames = {"VMAGINS", "KMAGINS", "CREFMAG",
                                                                  "KREFMAG", "COLOR",   "MERRSRC"};

// A value's key: one of the format's fields, or a NOTES subfield.
class RecordKey {
 public:
  // cppcheck-suppress noExplicitConstructor ; a field or a subfield is a key as it stands
  constexpr RecordKey(aeff::Field field) : index_{aeff::index(field)} {}  // NOLINT
  // cppcheck-suppress noExplicitConstructor ; a field or a subfield is a key as it stands
  constexpr RecordKey(Subfield subfield)  // NOLINT
      : index_{aeff::fieldCount + static_cast<std::size_t>(subfield)} {}
  // The first field, for arrays of keys that are filled in afterwards.
  constexpr RecordKey() : index_{0} {}
  [[nodiscard]] constexpr std::size_t index() const { return index_; }
  constexpr bool operator==(const RecordKey&) const = default;

 private:
  std::size_t index_;
};
inline constexpr std::size_t recordKeyCount = aeff::fieldCount + subfieldNames.size();

// The key a layout's field name stands for; a name that is none does not
// build.
consteval RecordKey recordKey(std::string_view name) {
  for (const aeff::FieldFacts& facts : aeff::fields) {
    // cppcheck-suppress useStlAlgorithm ; a plain loop stays usable at compile time
    if (facts.name == name) return facts.field;
  }
  for (std::size_t i = 0; i < subfieldNames.size(); ++i) {
    if (subfieldNames[i] == name) return static_cast<Subfield>(i);
  }
  throw "no record value has that name";
}

// A record's values; a value left unset is one the record does not have (a
// check star that was not measured has no KMAGINS).
class RecordValues {
 public:
  void set(RecordKey key, textio::FieldValue value) { values_[index(key)] = value; }
  void clear(RecordKey key) { values_[index(key)].reset(); }
  [[nodiscard]] bool has(RecordKey key) const { return values_[index(key)].has_value(); }
  [[nodiscard]] const textio::FieldValue& operator[](RecordKey key) const {
    return *values_[index(key)];
  }
  [[nodiscard]] double number(RecordKey key) const { return std::get<double>((*this)[key]); }

 private:
  static constexpr std::size_t index(RecordKey key) { return key.index(); }
  std::array<std::optional<textio::FieldValue>, recordKeyCount> values_{};
};

}  // namespace varistellar::report
