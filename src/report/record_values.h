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

#include "textio/fields.h"

namespace varistellar::report {

enum class RecordKey : std::uint8_t {
  STARID,
  DATE,
  MAG,
  MERR,
  FILT,
  TRANS,
  MTYPE,
  CNAME,
  CMAG,
  KNAME,
  KMAG,
  AIRMASS,
  GROUP,
  CHART,
  NOTES,
  // NOTES subfields: the instrumental and catalogue magnitudes.
  VMAGINS,
  KMAGINS,
  CREFMAG,
  KREFMAG,
};
inline constexpr std::size_t recordKeyCount = 19;

inline constexpr std::array<std::string_view, recordKeyCount> recordKeyNames = {
    "STARID", "DATE",    "MAG",     "MERR",    "FILT",    "TRANS", "MTYPE",
    "CNAME",  "CMAG",    "KNAME",   "KMAG",    "AIRMASS", "GROUP", "CHART",
    "NOTES",  "VMAGINS", "KMAGINS", "CREFMAG", "KREFMAG"};

// The key a layout's field name stands for; a name that is none does not
// build.
consteval RecordKey recordKey(std::string_view name) {
  for (std::size_t i = 0; i < recordKeyCount; ++i) {
    if (recordKeyNames[i] == name) return static_cast<RecordKey>(i);
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
  static constexpr std::size_t index(RecordKey key) { return static_cast<std::size_t>(key); }
  std::array<std::optional<textio::FieldValue>, recordKeyCount> values_{};
};

}  // namespace varistellar::report
