// Text and integer fields, layouts and the text field on input, byte for byte.
#include "textio/fields.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace varistellar::textio {
namespace {

// Fields are shown between '|' so that leading and trailing blanks are visible.
std::string marked(std::string_view text) { return "|" + std::string(text) + "|"; }

TEST(TextField, RightJustifiesOrCuts) {
  struct Case {
    std::string_view value;
    int width;
    std::string field;
  };
  const std::string eighty = "OBSERVER NOTES" + std::string(66, ' ');
  const Case cases[] = {
      {"AB", 4, "|  AB|"},
      {"ABCDEF", 4, "|ABCD|"},
      {" AAVSO Observer code", 0, "| AAVSO Observer code|"},
      {"A ", 0, "|A |"},
      {eighty, 80, marked(eighty)},
  };
  for (const Case& c : cases) {
    std::string out = "#";
    formatTextField(c.value, c.width, out);
    EXPECT_EQ(marked(out.substr(1)), c.field) << c.value;
  }
}

TEST(IntegerField, RightJustifiesOrFillsWithAsterisks) {
  struct Case {
    std::int32_t value;
    int width;
    std::string_view field;
  };
  constexpr Case cases[] = {
      {12345, 5, "12345"},
      {123456, 5, "*****"},
      {-1234, 5, "-1234"},
      {-12345, 5, "*****"},
      {0, 5, "    0"},
      {7, 5, "    7"},
      {0, 1, "0"},
      {std::numeric_limits<std::int32_t>::min(), 11, "-2147483648"},
      {std::numeric_limits<std::int32_t>::min(), 10, "**********"},
  };
  for (const Case& c : cases) {
    std::string field(static_cast<std::size_t>(c.width), '?');
    formatIntegerField(c.value, c.width, field.data());
    EXPECT_EQ(field, c.field) << c.value;
  }
}

constexpr std::array countLineLayout{literalText(" DONE READING "), integerField(5),
                                     literalText(" OBSERVATIONS FROM FILE "), textField()};
constexpr std::array comparisonLayout{textField(11), blankField(1), fixedField(6, 3), textField()};
constexpr std::array separatedMagnitude{textField(1), fixedField(6, 3)};
constexpr std::array magnitudesLayout{group(2, separatedMagnitude)};
constexpr std::array trailingLayout{fixedField(6, 3), literalText(" MAG"), blankField(3),
                                    fixedField(6, 3), blankField(2)};

TEST(Layout, BuildsOneLine) {
  struct Case {
    std::span<const LayoutItem> layout;
    std::vector<FieldValue> values;
    std::string_view line;
  };
  const Case cases[] = {
      {countLineLayout,
       {std::int32_t{123}, std::string_view{"lightcurve.txt"}},
       "| DONE READING   123 OBSERVATIONS FROM FILE lightcurve.txt|"},
      {comparisonLayout,
       {std::string_view{"REF STAR 01"}, 12.3456, std::string_view{" Comparison ID & Magnitude"}},
       "|REF STAR 01 12.346 Comparison ID & Magnitude|"},
      {magnitudesLayout,
       {std::string_view{","}, -0.63823, std::string_view{","}, 0.03856},
       "|,-0.638, 0.039|"},
      // Blank fields between two fields become blanks; at the end they add nothing.
      {trailingLayout, {1.5, 2.5}, "| 1.500 MAG    2.500|"},
      // When the values run out, literal text still follows up to the next data field.
      {trailingLayout, {1.5}, "| 1.500 MAG|"},
      {magnitudesLayout, {std::string_view{","}, -0.63823, std::string_view{","}}, "|,-0.638,|"},
      // A value of another kind than its field gives asterisks.
      {comparisonLayout, {std::string_view{"X"}, std::int32_t{1}}, "|          X ******|"},
  };
  for (const Case& c : cases) {
    std::string line = "old content";
    buildLayoutRecord(c.layout, c.values, line);
    EXPECT_EQ(marked(line), c.line);
  }
}

// Placed fields stand where buildLayoutRecord puts them, groups and literal
// text included, and a number rewritten there gives the line built anew.
TEST(Layout, PlacedFieldsRewriteTheirColumns) {
  static constexpr std::array pair = {textField(1), fixedField(6, 3)};
  static constexpr std::array layout = {textField(3), literalText("::"), group(2, pair),
                                        blankField(2), fixedField(13, 5)};
  static constexpr auto placed = placeDataFields<6>(layout);
  static_assert(placed[2].column == 6 && placed[2].field.width == 6);
  static_assert(placed[5].column == 21 && placed[5].field.digits == 5);

  std::string line;
  const std::array<FieldValue, 6> first = {std::string_view{"ABC"},
                                           std::string_view{","},
                                           11.70677,
                                           std::string_view{","},
                                           0.03856,
                                           2456175.65873};
  buildLayoutRecord(layout, first, line);
  EXPECT_EQ(marked(line), "|ABC::,11.707, 0.039  2456175.65873|");

  const std::array<FieldValue, 6> second = {
      std::string_view{"ABC"}, std::string_view{","}, -10.5, std::string_view{","}, 0.0004, 0.5};
  rewriteFixedField(placed[2], -10.5, line);
  rewriteFixedField(placed[4], 0.0004, line);
  rewriteFixedField(placed[5], 0.5, line);
  std::string rebuilt;
  buildLayoutRecord(layout, second, rebuilt);
  EXPECT_EQ(line, rebuilt);
  EXPECT_EQ(marked(line), "|ABC::,******, 0.000        0.50000|");
}

TEST(TextFieldInput, TakesItsWidthPaddedWithBlanks) {
  struct Case {
    std::string_view line;
    int width;
    std::size_t length;
    std::string variable;
  };
  const std::string hundred(100, 'x');
  const Case cases[] = {
      {"0123456789", 80, 80, marked("0123456789" + std::string(70, ' '))},
      {hundred, 80, 80, marked(std::string(80, 'x'))},
      {"", 80, 80, marked(std::string(80, ' '))},
      {"AB, \"C\"", 0, 9, "|AB, \"C\"  |"},  // no width: the variable's own length
      {"ABCDEF", 6, 4, "|CDEF|"},            // wider than the variable: its last columns
      {"ABC", 6, 4, "|C   |"},               // ... of the padded field
      {"ABCDEF", 2, 4, "|AB  |"},
  };
  for (const Case& c : cases) {
    InputRecord record{c.line, 0};
    std::string variable(c.length, '?');
    takeTextField(record, c.width, variable);
    EXPECT_EQ(marked(variable), c.variable) << c.line;
    EXPECT_EQ(record.column, c.width > 0 ? static_cast<std::size_t>(c.width) : c.length);
  }
}

TEST(TextFieldInput, FieldsFollowOneAnother) {
  InputRecord record{"VAR-STAR-1 V", 0};
  FixedText<11> star;
  FixedText<3> filter;
  FixedText<2> beyond;
  takeTextField(record, 11, star.span());
  takeTextField(record, 0, filter.span());
  takeTextField(record, 0, beyond.span());
  EXPECT_EQ(star.view(), "VAR-STAR-1 ");
  EXPECT_EQ(filter.view(), "V  ");
  EXPECT_EQ(beyond.view(), "  ");
  EXPECT_EQ(record.column, 16U);
}

}  // namespace
}  // namespace varistellar::textio
