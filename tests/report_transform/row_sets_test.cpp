// A report's rows as time series per star and standard filter, its GROUP
// sets, and each row's partner in another filter's series.
#include "report_transform/row_sets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace varistellar::report_transform {
namespace {

const std::string header =
    "#TYPE=Extended\n#OBSCODE=ABCD\n#SOFTWARE=test\n#DELIM=,\n#DATE=JD\n#OBSTYPE=CCD\n"
    "#STARID,DATE,MAG,MERR,FILT,TRANS,MTYPE,CNAME,CMAG,KNAME,KMAG,AIRMASS,GROUP,CHART,NOTES\n";
constexpr std::uint32_t firstRowLine = 8;

std::string row(std::string_view star, std::string_view date, std::string_view filter,
                std::string_view group = "na", std::string_view trans = "NO") {
  return std::string{star} + "," + std::string{date} + ",11.500,0.010," + std::string{filter} +
         "," + std::string{trans} + ",STD,000-AAA-001,-8.000,000-AAA-002,-7.000,1.2," +
         std::string{group} + ",12345AB,|CREFMAG=12.0|KREFMAG=13.0\n";
}

// The lines of the rows a run holds, in its order.
std::vector<std::uint32_t> linesOf(const ReportInputs& inputs,
                                   const std::vector<std::uint32_t>& rows, const RowRun& run) {
  std::vector<std::uint32_t> lines;
  for (std::uint32_t i = run.begin; i < run.end; ++i) lines.push_back(inputs.rows[rows[i]].line);
  return lines;
}

class RowSetsTest : public ::testing::Test {
 protected:
  void read(const std::string& rows) {
    diagnostics::DiagnosticList findings;
    inputs_ = readReportInputsText("r.txt", header + rows, findings);
    ASSERT_FALSE(findings.hasErrors());
    sets_ = arrangeRows(inputs_);
  }
  ReportInputs inputs_;
  RowSets sets_;
};

TEST_F(RowSetsTest, TimeSeriesPerStarAndStandardFilterByDate) {
  read(row("SS CYG", "2456175.5030", "V") +               // line 8
       row("SS CYG", "2456175.5010", "B") +               // 9
       row("SS CYG", "2456175.5000", "TG") +              // 10: V as well
       row("RR LYR", "2456175.5000", "V") +               // 11
       row("SS CYG", "2456175.5020", "V", "na", "YES") +  // 12: already transformed
       row("SS CYG", "2456175.5040", "SG") +              // 13: no standard filter
       row("SS CYG", "2456175.5010", "V"));               // 14
  const std::uint32_t ss = inputs_.rows[0].star;
  const std::uint32_t rr = inputs_.rows[3].star;
  const std::optional<RowRun> v = sets_.seriesOf(ss, 'V');
  ASSERT_TRUE(v.has_value());
  EXPECT_EQ(linesOf(inputs_, sets_.order, *v), (std::vector<std::uint32_t>{10, 14, 8}));
  const std::optional<RowRun> b = sets_.seriesOf(ss, 'B');
  ASSERT_TRUE(b.has_value());
  EXPECT_EQ(linesOf(inputs_, sets_.order, *b), (std::vector<std::uint32_t>{9}));
  EXPECT_FALSE(sets_.seriesOf(ss, 'R').has_value());
  EXPECT_EQ(sets_.seriesFilters(ss), (std::vector<char>{'B', 'V'}));
  EXPECT_EQ(sets_.seriesFilters(rr), (std::vector<char>{'V'}));
  // A walk over the stars in the order their names first appear.
  std::size_t at = 0;
  EXPECT_EQ(sets_.starFiltersAt(at), (std::vector<char>{'B', 'V'}));
  EXPECT_EQ(at, 4u);
  EXPECT_EQ(sets_.starFiltersAt(at), (std::vector<char>{'V'}));
  EXPECT_EQ(at, sets_.order.size());
  EXPECT_TRUE(sets_.grouped.empty());
  EXPECT_EQ(firstRowLine, inputs_.rows[0].line);
}

TEST_F(RowSetsTest, AlternatingFiltersOfOneStarCountedIntoTheirSeries) {
  read(row("SS CYG", "2456175.5000", "B") +   // line 8
       row("SS CYG", "2456175.5010", "V") +   // 9
       row("SS CYG", "2456175.5020", "TB") +  // 10: B as well
       row("SS CYG", "2456175.5030", "I") +   // 11
       row("SS CYG", "2456175.5040", "V") +   // 12
       row("SS CYG", "2456175.5050", "B"));   // 13
  const std::uint32_t ss = inputs_.rows[0].star;
  const std::array<std::vector<std::uint32_t>, 4> expected{
      std::vector<std::uint32_t>{8, 10, 13}, {9, 12}, {}, {11}};
  const std::array<std::optional<RowRun>, 4> series = sets_.seriesByFilter(ss);
  for (std::size_t slot = 0; slot < 4; ++slot) {
    EXPECT_EQ(
        series[slot] ? linesOf(inputs_, sets_.order, *series[slot]) : std::vector<std::uint32_t>{},
        expected[slot])
        << "BVRI"[slot];
  }
}

// Whatever the order of the file (one star or several, their series in or
// out of time order), the series rows end up by star, filter, date and line,
// and a walk over the stars finds each one's filters.
TEST_F(RowSetsTest, SeriesInOrderFromAnyFileOrder) {
  std::mt19937 random{20261209};
  const std::array<const char*, 3> stars{"SS CYG", "RR LYR", "T CRB"};
  const std::array<const char*, 4> filters{"B", "V", "TG", "I"};
  for (int trial = 0; trial < 200; ++trial) {
    const int starCount = 1 + trial % 3;
    const bool timeOrdered = trial % 2 == 0;
    std::string rows;
    for (int i = 0; i < 12; ++i) {
      const int minute = timeOrdered ? i : static_cast<int>(random() % 12);
      const int star = trial % 5 == 0
                           ? i * starCount / 12
                           : static_cast<int>(random() % static_cast<unsigned>(starCount));
      rows +=
          row(stars[static_cast<std::size_t>(star)],
              "2456175." + std::to_string(50000 + minute * 7), filters[random() % filters.size()]);
    }
    read(rows);
    std::vector<std::uint32_t> expected;
    for (std::uint32_t i = 0; i < inputs_.rows.size(); ++i) expected.push_back(i);
    const auto key = [this](std::uint32_t i) {
      const RowInputs& r = inputs_.rows[i];
      return std::tuple{r.star, standardRankOf(r), r.date, r.line};
    };
    std::sort(expected.begin(), expected.end(),
              [&](std::uint32_t a, std::uint32_t b) { return key(a) < key(b); });
    EXPECT_EQ(sets_.order, expected) << rows;
    // The walk over the stars finds each star's filters as its search does.
    for (std::size_t at = 0; at < sets_.order.size();) {
      const std::uint32_t star = inputs_.rows[sets_.order[at]].star;
      EXPECT_EQ(sets_.starFiltersAt(at), sets_.seriesFilters(star)) << rows;
    }
  }
}

TEST_F(RowSetsTest, PartnersBracketedNearestOrNone) {
  // V at minutes 0, 10, 31 and 60 after the first; B at 5, 10, 40, 100.
  read(row("SS CYG", "2456175.500000", "V") + row("SS CYG", "2456175.506944", "V") +
       row("SS CYG", "2456175.521528", "V") + row("SS CYG", "2456175.541667", "V") +
       row("SS CYG", "2456175.503472", "B") + row("SS CYG", "2456175.506944", "B") +
       row("SS CYG", "2456175.527778", "B") + row("SS CYG", "2456175.569444", "B"));
  const std::uint32_t ss = inputs_.rows[0].star;
  const std::optional<RowRun> v = sets_.seriesOf(ss, 'V');
  ASSERT_TRUE(v.has_value());
  const transform::PairingWindow window{10.0};
  struct Case {
    std::size_t bRow;  // index of the B row
    bool found;
    std::uint32_t firstLine;
    std::uint32_t secondLine;
    bool interpolated;
  };
  const Case cases[] = {
      {4, true, 8, 9, true},     // minute 5: between V at 0 and 10
      {5, true, 9, 9, false},    // minute 10: V at the same time
      {6, true, 10, 10, false},  // minute 40: V at 31 within 10, V at 60 not
      {7, false, 0, 0, false},   // minute 100: none within 10
  };
  for (const Case& c : cases) {
    const auto p = partnerIn(sets_, *v, inputs_, inputs_.rows[c.bRow], window);
    ASSERT_EQ(p.has_value(), c.found) << c.bRow;
    if (!p) continue;
    EXPECT_EQ(inputs_.rows[p->first].line, c.firstLine) << c.bRow;
    EXPECT_EQ(inputs_.rows[p->second].line, c.secondLine) << c.bRow;
    EXPECT_EQ(p->weight != 0.0, c.interpolated) << c.bRow;
  }
  const auto half = partnerIn(sets_, *v, inputs_, inputs_.rows[4], window);
  ASSERT_TRUE(half.has_value());
  EXPECT_NEAR(half->weight, 0.5, 1e-4);
}

TEST_F(RowSetsTest, GroupSetsPerStarInFileOrder) {
  read(row("SS CYG", "2456175.5000", "V", "1") +         // 8
       row("SS CYG", "2456175.5001", "B", "1") +         // 9
       row("RR LYR", "2456175.5002", "V", "1") +         // 10: another star, another set
       row("SS CYG", "2456175.5003", "I", "2") +         // 11
       row("SS CYG", "2456175.5004", "B", "01") +        // 12: the same group as 1
       row("SS CYG", "2456175.5005", "V", "3", "YES") +  // 13: stays as it was
       row("SS CYG", "2456175.5006", "V"));              // 14: a time series
  const std::uint32_t ss = inputs_.rows[0].star;
  const std::uint32_t rr = inputs_.rows[2].star;
  const std::uint32_t one = inputs_.rows[0].group;
  const std::uint32_t two = inputs_.rows[3].group;
  EXPECT_EQ(sets_.grouped.size(), 5u);
  EXPECT_EQ(linesOf(inputs_, sets_.grouped, sets_.setOf(ss, one)),
            (std::vector<std::uint32_t>{8, 9, 12}));
  EXPECT_EQ(linesOf(inputs_, sets_.grouped, sets_.setOf(ss, two)),
            (std::vector<std::uint32_t>{11}));
  EXPECT_EQ(linesOf(inputs_, sets_.grouped, sets_.setOf(rr, one)),
            (std::vector<std::uint32_t>{10}));
  EXPECT_TRUE(linesOf(inputs_, sets_.grouped, sets_.setOf(rr, two)).empty());
  // By star (in the order the names first appear), then group.
  EXPECT_EQ(linesOf(inputs_, sets_.grouped, {.begin = 0, .end = 5}),
            (std::vector<std::uint32_t>{8, 9, 12, 11, 10}));
  EXPECT_EQ(linesOf(inputs_, sets_.grouped, sets_.setAt(3)), (std::vector<std::uint32_t>{11}));
  const std::optional<RowRun> v = sets_.seriesOf(ss, 'V');
  ASSERT_TRUE(v.has_value());
  EXPECT_EQ(linesOf(inputs_, sets_.order, *v), (std::vector<std::uint32_t>{14}));
  EXPECT_EQ(sets_.order.size(), 1u);
}

}  // namespace
}  // namespace varistellar::report_transform
