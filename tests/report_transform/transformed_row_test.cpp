// A transformed row rewritten in place, and the default name of the output.
#include "report_transform/transformed_row.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "report_transform/transform_command.h"
#include "transform/filter_sets.h"

namespace varistellar::report_transform {
namespace {

transform::FilterTransform vTransform() {
  transform::FilterTransform t{.role = transform::aloneRole('V', transform::ColourIndex::BV),
                               .reportedFilter = "V"};
  t.notesBeforeColour = "|Tv_bv=-0.0467|Tv_bvERR=0.0070|BVCOLOR=";
  return t;
}

RowResult result(const transform::FilterTransform& t) {
  RowResult r{.transform = &t, .comparison = 12.0, .colour = 0.6184};
  r.result.offset = -0.4996;
  r.result.error = 0.0114;
  return r;
}

struct RowCase {
  std::string line;
  char delimiter;
  std::string expected;  // empty: refused
};

TEST(TransformedRow, RewritesOnlyItsFields) {
  const transform::FilterTransform t = vTransform();
  const RowCase cases[] = {
      // NOTES na is replaced; DIF becomes STD; TG becomes V; other fields keep their blanks.
      {"SS CYG,2460600.3,-0.500,0.010,TG,NO,DIF, 000-AAA-001 ,-8.0,na,na,1.2,1,C1,na", ',',
       "SS CYG,2460600.3,11.500,0.011,V,YES,STD, 000-AAA-001 ,-8.0,na,na,1.2,1,C1,"
       "|Tv_bv=-0.0467|Tv_bvERR=0.0070|BVCOLOR=0.618"},
      // NOTES with text keeps it, the subfields appended.
      {"S;1;11.5;0.01;V;NO;STD;C;na;na;na;na;na;na;|CREFMAG=12.0", ';',
       "S;1;11.500;0.011;V;YES;STD;C;na;na;na;na;na;na;|CREFMAG=12.0"
       "|Tv_bv=-0.0467|Tv_bvERR=0.0070|BVCOLOR=0.618"},
      // NOTES that switch their sub-delimiter get the subfields with theirs,
      // whether the switch stands first or as a subfield of its own.
      {"S|1|11.5|0.01|V|NO|STD|C|na|na|na|na|na|na|DELIM=;KREFMAG=14.571", '|',
       "S|1|11.500|0.011|V|YES|STD|C|na|na|na|na|na|na|DELIM=;KREFMAG=14.571"
       ";Tv_bv=-0.0467;Tv_bvERR=0.0070;BVCOLOR=0.618"},
      {"S,1,11.5,0.01,V,NO,STD,C,na,na,na,na,na,na,|delim=!seeing 2\"!CREFMAG=12.0", ',',
       "S,1,11.500,0.011,V,YES,STD,C,na,na,na,na,na,na,|delim=!seeing 2\"!CREFMAG=12.0"
       "!Tv_bv=-0.0467!Tv_bvERR=0.0070!BVCOLOR=0.618"},
      // A switch to a character that cannot delimit is no switch.
      {"S,1,11.5,0.01,V,NO,STD,C,na,na,na,na,na,na,DELIM=x", ',',
       "S,1,11.500,0.011,V,YES,STD,C,na,na,na,na,na,na,DELIM=x"
       "|Tv_bv=-0.0467|Tv_bvERR=0.0070|BVCOLOR=0.618"},
      // Blanks around the rewritten fields go with them; NOTES lose theirs;
      // the fields between keep every byte.
      {" S , 1 , 11.5 , 0.01 , V , NO , STD , C , 1 , K , 2 , 1.2 , na , X ,  seeing  ", ',',
       " S , 1 ,11.500,0.011,V,YES,STD, C , 1 , K , 2 , 1.2 , na , X ,"
       "seeing|Tv_bv=-0.0467|Tv_bvERR=0.0070|BVCOLOR=0.618"},
      // Fourteen or sixteen fields: refused.
      {"S,1,11.5,0.01,V,NO,STD,C,na,na,na,na,na,na", ',', ""},
      {"S,1,11.5,0.01,V,NO,STD,C,na,na,na,na,na,na,na,x", ',', ""},
  };
  for (const RowCase& c : cases) {
    std::string out;
    const bool written = writeTransformedRow(c.line, c.delimiter, result(t), out);
    EXPECT_EQ(written, !c.expected.empty()) << c.line;
    if (!written) continue;
    EXPECT_EQ(out, c.expected);
    // The own check trusts these fields to be the checked report's bytes.
    const auto before = aeff::splitRow(c.line, c.delimiter);
    const auto after = aeff::splitRow(out, c.delimiter);
    ASSERT_TRUE(before && after);
    for (std::size_t i = 0; i < aeff::fieldCount; ++i) {
      if ((copiedFields >> i & 1u) != 0) {
        EXPECT_EQ((*after)[i], (*before)[i]) << c.line;
      }
    }
  }
}

TEST(TransformedRow, RefusesAMagnitudeThatDoesNotFit) {
  const transform::FilterTransform t = vTransform();
  RowResult r = result(t);
  r.comparison = 1e6;
  std::string out;
  EXPECT_FALSE(writeTransformedRow("S,1,11.5,0.01,V,NO,STD,C,na,na,na,na,na,na,na", ',', r, out));
}

TEST(TransformedRow, NumbersTakeAtMostSixCharacters) {
  const transform::FilterTransform t = vTransform();
  struct NumberCase {
    double comparison;
    double error;
    double colour;
    std::string_view expected;  // empty: refused
  };
  // The magnitude is the comparison's less 0.4996.
  const NumberCase cases[] = {
      {-5.0, 0.0114, -0.05,
       "S,1,-5.500,0.011,V,YES,STD,C,na,na,na,na,na,na,"
       "|Tv_bv=-0.0467|Tv_bvERR=0.0070|BVCOLOR=-0.050"},
      {-12.0, 0.0114, 0.6184, ""},  // -12.500 takes seven
      {12.0, 1000.0, 0.6184, ""},
      {12.0, 0.0114, -100.0, ""},
  };
  for (const NumberCase& c : cases) {
    RowResult r = result(t);
    r.comparison = c.comparison;
    r.result.error = c.error;
    r.colour = c.colour;
    std::string out;
    const bool written =
        writeTransformedRow("S,1,11.5,0.01,V,NO,STD,C,na,na,na,na,na,na,na", ',', r, out);
    EXPECT_EQ(written, !c.expected.empty()) << c.comparison << ' ' << c.error << ' ' << c.colour;
    if (written) {
      EXPECT_EQ(out, c.expected);
    }
  }
}

TEST(DefaultOutputName, PutsTransformedBeforeTheExtension) {
  EXPECT_EQ(defaultOutputName("night.txt"), "night-transformed.txt");
  EXPECT_EQ(defaultOutputName("a/b.c/night.csv"), "a/b.c/night-transformed.csv");
  EXPECT_EQ(defaultOutputName("a.b/night"), "a.b/night-transformed");
  // All extension: the name stays hidden and still ends in .txt.
  EXPECT_EQ(defaultOutputName(".txt"), ".txt-transformed.txt");
  EXPECT_EQ(defaultOutputName("a.b/.csv"), "a.b/.csv-transformed.csv");
  EXPECT_EQ(defaultOutputName(".a.txt"), ".a-transformed.txt");
  EXPECT_EQ(defaultOutputName("night.v2.tsv"), "night.v2-transformed.tsv");
}

}  // namespace
}  // namespace varistellar::report_transform
