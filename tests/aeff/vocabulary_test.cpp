// The format's words: the standard filter each filter name stands for, the
// placeholders for none, the edge blanks, and a row's fields.
#include "aeff/vocabulary.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "aeff/row_fields.h"

namespace varistellar::aeff {
namespace {

struct FilterCase {
  std::string_view name;
  std::optional<char> standard;
};

TEST(StandardFilter, IgnoresCaseAndTakesTheColourChannelsAsTheirFilters) {
  const FilterCase cases[] = {
      {"B", 'B'},  {"V", 'V'},  {"R", 'R'},  {"I", 'I'}, {"v", 'V'}, {"b", 'B'},  {"TG", 'V'},
      {"tg", 'V'}, {"Tb", 'B'}, {"tR", 'R'}, {"SG", {}}, {"CV", {}}, {"", {}},    {"VV", {}},
      {"T", {}},   {"Rc", {}},  {"Ic", {}},  {"U", {}},  {"V ", {}}, {"TGX", {}},
  };
  for (const FilterCase& c : cases) EXPECT_EQ(standardFilter(c.name), c.standard) << c.name;
}

TEST(Placeholder, IsOneOfTheObserversWordsForNoneInAnyCase) {
  const std::pair<std::string_view, bool> cases[] = {
      {"na", true},   {"NA", true},   {"Na", true},   {"n/a", true}, {"N/A", true},
      {"xxx", true},  {"XXX", true},  {"?", true},    {"", false},   {"n", false},
      {"nan", false}, {" na", false}, {"na ", false}, {"??", false}, {"000-AAA-002", false},
  };
  for (const auto& [text, placeholder] : cases) EXPECT_EQ(isPlaceholder(text), placeholder) << text;
}

TEST(TrimBlanks, RemovesBlanksAndTabsAtTheEndsOnly) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"", ""},        {" ", ""},      {"\t \t", ""},       {"na", "na"},
      {" na\t", "na"}, {"a b", "a b"}, {"\ta\tb ", "a\tb"}, {"\r\n", "\r\n"},
  };
  for (const auto& [text, trimmed] : cases) EXPECT_EQ(trimBlanks(text), trimmed) << text;
}

constexpr std::string_view row =
    "RR LYR,2456175.65873, 8.123,0.039,V,NO,STD,000-AAA-001,na,000-AAA-002,na,na,1.452,na,na";

TEST(SplitRow, GivesFifteenFieldsAsWritten) {
  const auto fields = splitRow(row, ',');
  ASSERT_TRUE(fields.has_value());
  EXPECT_EQ((*fields)[0], "RR LYR");
  EXPECT_EQ((*fields)[index(Field::MAG)], " 8.123");
  EXPECT_EQ((*fields)[index(Field::NOTES)], "na");
}

TEST(SplitRow, RefusesARowOfAnotherNumberOfFields) {
  EXPECT_FALSE(splitRow("", ',').has_value());
  EXPECT_FALSE(splitRow(std::string{row} + ",extra", ',').has_value());
  EXPECT_FALSE(splitRow(row.substr(0, row.rfind(',')), ',').has_value());
  EXPECT_FALSE(splitRow(row, ';').has_value());
}

// The fields as a plain search from delimiter to delimiter finds them, for
// rows of every length and delimiters of every byte (eight bytes are looked
// at together, so any byte beside another must not be taken for it).
TEST(SplitRow, FindsWhatAPlainSearchFinds) {
  std::mt19937 random{15};
  for (int n = 0; n < 20000; ++n) {
    const char delimiter = static_cast<char>(n % 4 == 0 ? ',' : n % 4 == 1 ? '\t' : 0x80 + n % 128);
    std::string line(random() % 70, 'x');
    for (char& c : line) {
      const auto pick = random() % 6;
      const auto other = pick == 1 ? static_cast<unsigned char>(delimiter) ^ 1u : random() % 256;
      c = pick == 0 ? delimiter : static_cast<char>(other);
    }
    std::vector<std::string_view> plain;
    for (std::size_t at = 0;;) {
      const std::size_t end = line.find(delimiter, at);
      plain.push_back(std::string_view{line}.substr(at, end == std::string::npos ? end : end - at));
      if (end == std::string::npos) break;
      at = end + 1;
    }
    const auto fields = splitRow(line, delimiter);
    ASSERT_EQ(fields.has_value(), plain.size() == fieldCount) << n;
    if (fields) {
      for (std::size_t i = 0; i < fieldCount; ++i) ASSERT_EQ((*fields)[i], plain[i]) << n;
    }
    for (std::size_t i = 0; i < 20; ++i) {
      ASSERT_EQ(rowField(line, delimiter, i), i < plain.size() ? trimBlanks(plain[i]) : "") << n;
    }
  }
}

TEST(RowField, GivesOneFieldWithoutItsEdgeBlanks) {
  EXPECT_EQ(rowField(row, ',', index(Field::MAG)), "8.123");
  EXPECT_EQ(rowField(row, ',', index(Field::KNAME)), "000-AAA-002");
  EXPECT_EQ(rowField(row, ',', index(Field::NOTES)), "na");
  EXPECT_EQ(rowField("a, b\t", ',', 1), "b");
  EXPECT_EQ(rowField("a,b", ',', 5), "");
}

}  // namespace
}  // namespace varistellar::aeff
