// Stars, groups and filters by index, and the #CREFMAG= and #KREFMAG= lines.
#include "report_transform/report_names.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "report_transform/reference_lines.h"

namespace varistellar::report_transform {
namespace {

std::uint32_t starOf(StarNames& stars, std::string_view name) {
  std::uint32_t star = 0;
  EXPECT_TRUE(stars.index(name, star)) << name;
  return star;
}

TEST(ReportNames, StarsInAnyCaseKeptOnceAsFirstWritten) {
  StarNames stars;
  // Enough names to fill several blocks and grow the table many times.
  std::vector<std::uint32_t> numbers;
  for (int i = 0; i < 20000; ++i) numbers.push_back(starOf(stars, "Star " + std::to_string(i)));
  EXPECT_EQ(stars.size(), 20000u);
  for (std::size_t i = 1; i < numbers.size(); ++i) EXPECT_LT(numbers[i - 1], numbers[i]);
  EXPECT_EQ(starOf(stars, "STAR 17"), numbers[17]);
  EXPECT_EQ(stars.name(numbers[17]), "Star 17");
  stars.finishReading();  // the names stay, and the numbers
  EXPECT_EQ(stars.name(numbers[19999]), "Star 19999");
  EXPECT_EQ(starOf(stars, "star 19999"), numbers[19999]);
  EXPECT_EQ(starOf(stars, "sTaR 0"), numbers[0]);
  const std::uint32_t more = starOf(stars, "SS CYG");
  EXPECT_EQ(stars.size(), 20001u);
  EXPECT_EQ(stars.name(more), "SS CYG");
  // The empty name and a name too long for any report are names too.
  const std::uint32_t empty = starOf(stars, "");
  EXPECT_EQ(stars.name(empty), "");
  const std::string longName(300, 'x');
  const std::uint32_t kept = starOf(stars, longName);
  EXPECT_EQ(stars.name(kept), longName.substr(0, 254));
  EXPECT_EQ(starOf(stars, longName + "y"), kept);
  EXPECT_EQ(stars.size(), 20003u);
}

TEST(ReportNames, GroupsAsTheirOwnNumbers) {
  Groups groups;
  struct Case {
    std::string_view group;
    std::uint32_t index;
  };
  const Case cases[] = {{"na", 0},
                        {"NA", 0},
                        {"0", 1},
                        {"000", 1},
                        {"-0", 1},
                        {"+12", 13},
                        {"12", 13},
                        {"00012", 13},
                        {"2147483646", 2147483647},
                        {"2147483647", 0x80000000u},
                        {"-1", 0x80000001u},
                        {"-01", 0x80000001u},
                        {"2147483647", 0x80000000u}};
  for (const Case& c : cases) EXPECT_EQ(groups.index(c.group), c.index) << c.group;
}

TEST(ReportNames, FiltersByIndexAndWhichTransform) {
  for (const std::string_view f : {"B", "V", "R", "I", "TB", "TG", "TR"}) {
    EXPECT_TRUE(isTransformableFilter(filterIndex(f))) << f;
    EXPECT_EQ(filterName(filterIndex(f)), f);
  }
  for (const std::string_view f : {"U", "SG", "CV", "CR", "RJ", "CBB", "HA"})
    EXPECT_FALSE(isTransformableFilter(filterIndex(f))) << f;
  EXPECT_EQ(filterIndex("v"), filterIndex("V"));
  EXPECT_EQ(filterName(filterIndex("cbb")), "CBB");
  EXPECT_EQ(filterIndex("Rc"), unknownFilter);
  EXPECT_FALSE(isTransformableFilter(unknownFilter));
  EXPECT_EQ(filterName(unknownFilter), "");
}

struct ReferenceCase {
  std::vector<std::string_view> lines;
  double comparison;
  double checkStar;
};

bool same(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

TEST(ReferenceLines, CrefmagAndKrefmagLines) {
  const double none = std::nan("");
  const ReferenceCase cases[] = {
      {{}, none, none},
      {{"#CREFMAG=12.345 0.013 13.021 0.014"}, 12.345, 13.021},
      {{"#crefmag = 12.345,0.013,13.021"}, 12.345, 13.021},
      {{"#CREFMAG=12.345"}, 12.345, none},
      {{"#CREFMAG=12.345", "#KREFMAG=13.5"}, 12.345, 13.5},
      {{"#KREFMAG=13.5", "#CREFMAG=12.0 0.01 13.0"}, 12.0, 13.0},
      {{"#CREFMAG=12.0 0.01 13.0", "#CREFMAG=11.0"}, 11.0, none},
      {{"#CREFMAG=twelve 0.01 13.0"}, none, 13.0},
      // A decimal comma makes no number, never a shorter one.
      {{"#CREFMAG=12,895"}, none, none},
      {{"#CREFMAG=12,895 0,013 13,021"}, none, none},
      {{"#CREFMAG=12.345,0.013,13,021"}, none, none},
      {{"#CREFMAG=12.5abc 0.01 13.0"}, none, 13.0},
      {{"#CREFMAG=12, 0.01, 13, 0.01"}, 12.0, 13.0},
      {{"#CREFMAG=12;0.01;13.5"}, 12.0, 13.5},
      {{"#CREFMAG=12.0 0.01 13.0", "#KREFMAG=13,5"}, 12.0, 13.0},
      {{"#KREFMAG=13,5"}, none, none},
      {{"#COMMENT=12.0", "#CREFMAGS=1.0", "# CREFMAG is below"}, none, none},
      {{"#CREFMAG=12.0", "#CREFMAG="}, none, none},
  };
  for (const ReferenceCase& c : cases) {
    ReferenceLines lines;
    for (const std::string_view l : c.lines) lines.commentLine(l);
    const std::string_view first = c.lines.empty() ? "" : c.lines.front();
    EXPECT_TRUE(same(lines.comparison(), c.comparison)) << first << ": " << lines.comparison();
    EXPECT_TRUE(same(lines.checkStar(), c.checkStar)) << first << ": " << lines.checkStar();
  }
}

TEST(ReferenceLines, SaysWhichNumbersCountAsNotGiven) {
  const std::string tail =
      ", no plain decimal number, so it counts as not given; write a point for the decimals and "
      "blanks between the numbers";
  ReferenceLines lines;
  lines.commentLine("#CREFMAG=12,895 0.01 13.x");
  EXPECT_EQ(
      lines.unreadNumbers(),
      (std::vector<std::string>{"#CREFMAG= gives the comparison's magnitude as \"12,895\"" + tail,
                                "#CREFMAG= gives the check star's magnitude as \"13.x\"" + tail}));
  lines.commentLine("#KREFMAG=\x1B[2J");
  EXPECT_EQ(lines.unreadNumbers(),
            std::vector<std::string>{"#KREFMAG= gives the check star's magnitude as \"\\x1B[2J\"" +
                                     tail});
  lines.commentLine("#CREFMAG=12.0");  // the missing check star is no fault
  EXPECT_TRUE(lines.unreadNumbers().empty());
  lines.commentLine("#KREFMAG=x");
  lines.commentLine("#COMMENT=12,5");  // any other line says nothing again
  EXPECT_TRUE(lines.unreadNumbers().empty());
  lines.commentLine("#KREFMAG=x");
  lines.commentLine("#");
  EXPECT_TRUE(lines.unreadNumbers().empty());
}

}  // namespace
}  // namespace varistellar::report_transform
