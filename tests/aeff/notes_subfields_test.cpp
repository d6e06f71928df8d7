// The NOTES subfields: free text, the pairs in order, the sub-delimiter
// switch, keys in any case, numbers, and which pairs are malformed.
#include "aeff/notes_subfields.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace varistellar::aeff {
namespace {

// The subfields of notes written as "key=value;" per pair ("key;" for a pair
// without '='), after the free text and a '/'.
std::string layout(std::string_view notes) {
  const NotesSubfields subfields{notes};
  std::string text{subfields.freeText()};
  text += '/';
  for (const Subfield& s : subfields) {
    text += s.key;
    if (s.paired) text += "=" + std::string{s.value};
    text += ';';
  }
  return text;
}

struct LayoutCase {
  std::string_view notes;
  std::string_view expected;
};

TEST(NotesSubfields, FreeTextThenPairsInOrder) {
  const LayoutCase cases[] = {
      {"na", "na/"},
      {"", "/"},
      {"cloudy", "cloudy/"},
      {"|CREFMAG=12.345", "/CREFMAG=12.345;"},
      {"seeing 3\"|VMAGINS=-0.638|CMAGINS=0.000", "seeing 3\"/VMAGINS=-0.638;CMAGINS=0.000;"},
      {"|A=1|", "/A=1;;"},                        // a last, empty subfield
      {"||A=1", "/;A=1;"},                        // an empty one first
      {"|A", "/A;"},                              // no '='
      {"|A=", "/A=;"},                            // an empty value
      {"|=5", "/=5;"},                            // an empty key
      {"|A=b=c", "/A=b=c;"},                      // the first '=' splits
      {"| CREFMAG = 12.3", "/ CREFMAG = 12.3;"},  // blanks are kept
      {"|Comment = Ref-star: 12.585 mag (V)", "/Comment = Ref-star: 12.585 mag (V);"},
  };
  for (const LayoutCase& c : cases) EXPECT_EQ(layout(c.notes), c.expected) << c.notes;
}

TEST(NotesSubfields, LeadingDelimSwitchesTheSubDelimiter) {
  const LayoutCase cases[] = {
      {"DELIM=;;CREFMAG=12.3;KREFMAG=13", "/CREFMAG=12.3;KREFMAG=13;"},
      {"|DELIM=;;CREFMAG=12.3", "/CREFMAG=12.3;"},
      {"|delim=!text!A=1|B=2", "text/A=1|B=2;"},  // '|' is ordinary text then
      {"DELIM=;", "/"},
      {"DELIM=;text", "text/"},
      {"|DELIM=||A=1", "/A=1;"},
      // No switch: a character that can stand in a key, a blank, '=' or none.
      {"|DELIM=x|A=1", "/DELIM=x;A=1;"},
      {"|DELIM= |A=1", "/DELIM= ;A=1;"},
      {"|DELIM==|A=1", "/DELIM==;A=1;"},
      {"|DELIM=", "/DELIM=;"},
      {"DELIM=", "DELIM=/"},
      // Only at the very start.
      {"text|DELIM=;;A=1", "text/DELIM=;;A=1;"},
      {"|A=1|DELIM=;;B=2", "/A=1;DELIM=;;B=2;"},
  };
  for (const LayoutCase& c : cases) EXPECT_EQ(layout(c.notes), c.expected) << c.notes;
  EXPECT_EQ(NotesSubfields{"DELIM=;;A=1"}.delimiter(), ';');
  EXPECT_EQ(NotesSubfields{"|A=1"}.delimiter(), '|');
}

struct FindCase {
  std::string_view notes;
  std::string_view key;
  bool found;
  std::string_view value;
};

TEST(NotesSubfields, FindsAKeyInAnyCaseAsWritten) {
  const FindCase cases[] = {
      {"|CREFMAG=12.345|KREFMAG=13.021", "CREFMAG", true, "12.345"},
      {"|CREFMAG=12.345|KREFMAG=13.021", "KREFMAG", true, "13.021"},
      {"|crefmag=12.345", "CREFMAG", true, "12.345"},
      {"|CREFMAG=", "CREFMAG", true, ""},
      {"|CREFMAG=1|CREFMAG=2", "CREFMAG", true, "1"},  // the first counts
      {"CREFMAG=12.3", "CREFMAG", false, ""},          // free text
      {"|CREFMAG", "CREFMAG", false, ""},
      {"|CREFMAG =12.3", "CREFMAG", false, ""},
      {"| CREFMAG=12.3", "CREFMAG", false, ""},
      {"|XCREFMAG=12.3", "CREFMAG", false, ""},
      {"|CREFMAGX=12.3", "CREFMAG", false, ""},
      {"|CREFMAG|=12.3", "CREFMAG", false, ""},
      {"DELIM=;;CREFMAG=9.5", "CREFMAG", true, "9.5"},
      {"|DELIM=;", "DELIM", false, ""},  // the switch is no subfield
      {"|DELIM=x", "DELIM", true, "x"},
  };
  for (const FindCase& c : cases) {
    const auto value = findSubfield(c.notes, c.key);
    EXPECT_EQ(value.has_value(), c.found) << c.notes << " " << c.key;
    if (value && c.found) {
      EXPECT_EQ(*value, c.value) << c.notes;
    }
  }
}

struct NumberCase {
  std::string_view notes;
  std::optional<double> number;
};

TEST(NotesSubfields, ReadsAValueAsAPlainDecimalNumber) {
  const NumberCase cases[] = {
      {"|VMAGINS=-0.638", -0.638},     {"|VMAGINS=+12.", 12.0},        {"|VMAGINS=.5", 0.5},
      {"|VMAGINS=1e2", std::nullopt},  {"|VMAGINS=1,5", std::nullopt}, {"|VMAGINS=", std::nullopt},
      {"|VMAGINS= 1.5", std::nullopt}, {"|VMAGINS=na", std::nullopt},  {"|OTHER=1.5", std::nullopt},
  };
  for (const NumberCase& c : cases)
    EXPECT_EQ(subfieldNumber(c.notes, "VMAGINS"), c.number) << c.notes;
}

struct FormCase {
  std::string_view notes;
  std::optional<std::string_view> malformed;  // the first malformed subfield's text
};

TEST(NotesSubfields, FindsTheFirstMalformedSubfield) {
  const FormCase cases[] = {
      {"na", std::nullopt},
      {"free text = fine", std::nullopt},
      {"|VMAGINS=-0.638|CMAGINS=0.000|KREFMAG=13.021", std::nullopt},
      {"|NOTE=any words (ok)", std::nullopt},
      {"|VX=1.234|cx=1.2|KX=1", std::nullopt},
      {"|CREFMAG=", "CREFMAG="},
      {"| CREFMAG = 12.3", " CREFMAG = 12.3"},
      {"|A=1|B", "B"},
      {"|A=1|", ""},
      {"|=5", "=5"},
      {"|KEY-1=5", "KEY-1=5"},
      {"|CREFMAG=12,3", "CREFMAG=12,3"},
      {"|crefmag=abc", "crefmag=abc"},
      {"|CREFERR=1e-2", "CREFERR=1e-2"},
      {"|VX=high", "VX=high"},
      {"|VXX=high", std::nullopt},  // only VX, CX and KX themselves are numbers
      {"|MAGNITUDE=bright", std::nullopt},
      {"|DELIM=;", std::nullopt},
      {"DELIM=;;CREFMAG=", "CREFMAG="},
  };
  for (const FormCase& c : cases) {
    const auto bad = firstMalformedSubfield(c.notes);
    ASSERT_EQ(bad.has_value(), c.malformed.has_value()) << c.notes;
    if (bad) {
      EXPECT_EQ(bad->text, *c.malformed) << c.notes;
    }
  }
}

TEST(NotesSubfields, IteratesAsAForwardRange) {
  const NotesSubfields subfields{"x|A=1|B=2"};
  auto it = subfields.begin();
  ASSERT_NE(it, subfields.end());
  EXPECT_EQ(it->key, "A");
  EXPECT_EQ((it++)->value, "1");
  EXPECT_EQ(it->key, "B");
  ++it;
  EXPECT_EQ(it, subfields.end());
  // The views point into the notes themselves.
  const std::string_view notes = "|K=v";
  const Subfield first = *NotesSubfields{notes}.begin();
  EXPECT_EQ(first.value.data(), notes.data() + 3);
}

}  // namespace
}  // namespace varistellar::aeff
