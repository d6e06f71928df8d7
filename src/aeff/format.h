// The AAVSO Extended File Format's vocabulary: the fifteen fields of an
// observation line in their order, their names and length limits, what each
// holds, and the filters. The report writer and the checker both use it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace varistellar::aeff {

enum class Field : std::uint8_t {
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
  NOTES
};
inline constexpr std::size_t fieldCount = 15;

[[nodiscard]] constexpr std::size_t index(Field field) { return static_cast<std::size_t>(field); }

// What a field may hold, before the rules about its values.
enum class Content : std::uint8_t {
  text,       // a name or free text: STARID, CNAME, KNAME, CHART, NOTES
  date,       // a plain decimal number for JD and HJD
  magnitude,  // an optional '<', then a plain decimal number with a point
  number,     // `na` or a plain decimal number
  integer,    // `na` or an integer: GROUP
  word,       // one of a list: FILT, TRANS, MTYPE
};

struct FieldFacts {
  Field field;
  std::string_view name;
  std::size_t maxLength;  // characters; 0: no limit of its own
  bool limitIsWarning;    // GROUP's limit is exceeded by tools that are accepted
  Content content;
  // How the new upload tool names the field in its length messages, where known.
  std::string_view uploadLabel;
};

inline constexpr std::array<FieldFacts, fieldCount> fields{{
    {Field::STARID, "STARID", 30, false, Content::text, ""},
    {Field::DATE, "DATE", 16, false, Content::date, ""},
    {Field::MAG, "MAG", 8, false, Content::magnitude, ""},
    {Field::MERR, "MERR", 6, false, Content::number, "Magnitude Error"},
    {Field::FILT, "FILT", 0, false, Content::word, ""},
    {Field::TRANS, "TRANS", 0, false, Content::word, ""},
    {Field::MTYPE, "MTYPE", 0, false, Content::word, ""},
    {Field::CNAME, "CNAME", 20, false, Content::text, ""},
    {Field::CMAG, "CMAG", 8, false, Content::number, ""},
    {Field::KNAME, "KNAME", 20, false, Content::text, ""},
    {Field::KMAG, "KMAG", 8, false, Content::number, ""},
    {Field::AIRMASS, "AIRMASS", 7, false, Content::number, "Airmass"},
    {Field::GROUP, "GROUP", 5, true, Content::integer, ""},
    {Field::CHART, "CHART", 20, false, Content::text, ""},
    {Field::NOTES, "NOTES", 0, false, Content::text, ""},
}};

[[nodiscard]] constexpr const FieldFacts& fieldFacts(Field field) { return fields[index(field)]; }

// Each table row stands at its field's own index.
static_assert([] {
  for (std::size_t i = 0; i < fieldCount; ++i) {
    if (index(fields[i].field) != i) return false;
  }
  return true;
}());

// The filters the format lists. `O` ("other") is listed too, but refused by
// the classic upload tool, so it is left out here.
inline constexpr std::array<std::string_view, 31> listedFilters{
    "U",     "B",     "V",  "R",  "I",  "J",  "H",  "K",   "TG",  "TB",  "TR",
    "CV",    "CR",    "SZ", "SU", "SG", "SR", "SI", "STU", "STV", "STB", "STY",
    "STHBW", "STHBN", "MA", "MB", "MI", "ZS", "Y",  "HA",  "HAC"};

// Filters the AAVSO's database knows though the format does not list them.
inline constexpr std::array<std::string_view, 4> knownUnlistedFilters{"RJ", "IJ", "GG", "CBB"};

// Words and keys of the format compare without regard to case.
// Inline: the checker compares words on every row, and most differ in length.
[[nodiscard]] inline bool sameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y && ((x | 0x20u) != (y | 0x20u) || (x | 0x20u) < 'a' || (x | 0x20u) > 'z'))
      return false;
  }
  return true;
}
[[nodiscard]] bool isListedFilter(std::string_view filter);
[[nodiscard]] bool isKnownUnlistedFilter(std::string_view filter);

// The parameter keys of the header, in the order a report writes them.
inline constexpr std::array<std::string_view, 6> parameterKeys{"TYPE",  "OBSCODE", "SOFTWARE",
                                                               "DELIM", "DATE",    "OBSTYPE"};

inline constexpr std::size_t softwareMaxLength = 255;

// Whether a report file's name ends as the AAVSO's upload requires: in .txt,
// .csv or .tsv, in any case.
[[nodiscard]] bool isReportFileName(std::string_view name);

}  // namespace varistellar::aeff
