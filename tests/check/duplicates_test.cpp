// Duplicate rows: the same STARID, DATE and FILT in any case, whatever the
// other fields; the fingerprint's kept part for STARID and FILT is taken anew
// when either changes.
#include "check/duplicates.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace varistellar::check {
namespace {

using aeff::Field;

struct Seen {
  const char* star;
  const char* date;
  const char* filter;
  std::optional<std::uint64_t> earlier;  // the line of the row it repeats
};

struct DuplicateCase {
  const char* name;
  std::vector<Seen> rows;  // on lines 1, 2, ...
};

Row rowOf(const Seen& s, std::uint64_t line) {
  Row row;
  row.line = line;
  row.fields[aeff::index(Field::STARID)].text = s.star;
  row.fields[aeff::index(Field::DATE)].text = s.date;
  row.fields[aeff::index(Field::FILT)].text = s.filter;
  return row;
}

// The fields that differ from the previous row, as the row judge finds them.
FieldSet changedFrom(const Seen* before, const Seen& now) {
  if (before == nullptr) return allFields;
  FieldSet changed = 0;
  if (std::string{before->star} != now.star) changed |= fieldSet({Field::STARID});
  if (std::string{before->date} != now.date) changed |= fieldSet({Field::DATE});
  if (std::string{before->filter} != now.filter) changed |= fieldSet({Field::FILT});
  return changed;
}

class DuplicateRows : public testing::TestWithParam<DuplicateCase> {};

TEST_P(DuplicateRows, EachRowNamesTheLineItRepeats) {
  for (const bool memo : {true, false}) {
    Duplicates duplicates;
    const Seen* before = nullptr;
    std::uint64_t line = 0;
    for (const Seen& s : GetParam().rows) {
      const FieldSet changed = memo ? changedFrom(before, s) : allFields;
      EXPECT_EQ(duplicates.earlier(rowOf(s, ++line), changed), s.earlier)
          << "line " << line << (memo ? "" : " judged anew");
      before = &s;
    }
  }
}

const std::optional<std::uint64_t> none;

std::vector<DuplicateCase> duplicateCases() {
  return {
      {"DifferentDates", {{"SS CYG", "2456175.1", "V", none}, {"SS CYG", "2456175.2", "V", none}}},
      {"SameRowTwice", {{"SS CYG", "2456175.1", "V", none}, {"SS CYG", "2456175.1", "V", 1}}},
      {"CaseIsIgnored", {{"SS CYG", "2456175.1", "V", none}, {"ss cyg", "2456175.1", "v", 1}}},
      {"FilterChangesOnly",
       {{"SS CYG", "2456175.1", "V", none},
        {"SS CYG", "2456175.1", "B", none},
        {"SS CYG", "2456175.1", "V", 1}}},
      {"StarChangesOnly",
       {{"SS CYG", "2456175.1", "V", none},
        {"RR LYR", "2456175.1", "V", none},
        {"SS CYG", "2456175.1", "V", 1}}},
      {"LongNamesAcrossWords",
       {{"A VERY LONG STAR NAME", "2456175.12345", "STHBW", none},
        {"A VERY LONG STAR NAMF", "2456175.12345", "STHBW", none},
        {"a very long star name", "2456175.12345", "sthbw", 1}}},
      {"FieldsDoNotRunTogether",
       {{"AB", "C", "V", none}, {"A", "BC", "V", none}, {"ABC", "", "V", none}}},
  };
}

std::string caseName(const testing::TestParamInfo<DuplicateCase>& c) { return c.param.name; }
void PrintTo(const DuplicateCase& c, std::ostream* os) { *os << c.name; }

INSTANTIATE_TEST_SUITE_P(Rows, DuplicateRows, testing::ValuesIn(duplicateCases()), caseName);

}  // namespace
}  // namespace varistellar::check
