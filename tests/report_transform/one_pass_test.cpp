// transform's one pass: what it writes is the report's lines in their order,
// and every row it writes settled (or at the end) is solved as the whole
// report's plan solves it; a report it cannot plan as it reads is given up.
#include "report_transform/one_pass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "report_transform/row_sets.h"
#include "transform/coefficient_file.h"

namespace varistellar::report_transform {
namespace {

const std::string header =
    "#TYPE=Extended\r\n#OBSCODE=ABCD\r\n#SOFTWARE=test\r\n#DELIM=,\r\n#DATE=JD\r\n"
    "#OBSTYPE=CCD\r\n"
    "#STARID,DATE,MAG,MERR,FILT,TRANS,MTYPE,CNAME,CMAG,KNAME,KMAG,AIRMASS,GROUP,CHART,NOTES\r\n";
const std::string coefficients =
    "[Coefficients]\nTbv=1.1974\nTb_bv=0.1181\nTv_bv=-0.0467\nTi_vi=0.0300\nTv_vi=-0.0200\n"
    "Tv_vr=-0.0500\nTr_vr=0.0300\n"
    "[Error]\nTb_bv=0.0103\nTv_bv=0.0070\nTi_vi=0.0050\nTv_vi=0.0040\nTv_vr=0.004\nTr_vr=0.005\n";

// A row `minutes` after the night's start; the magnitude varies with it.
std::string row(double minutes, char filter, std::string_view group = "na",
                std::string_view star = "SS CYG", std::string_view trans = "NO") {
  char text[240];
  std::snprintf(text, sizeof text,
                "%s,%.5f,%.3f,0.010,%c,%s,STD,000-AAA-001,0.000,000-AAA-002,1.100,1.2,%s,"
                "12345AB,|CREFMAG=12.000|KREFMAG=13.000\r\n",
                std::string{star}.c_str(), 2460600.3 + minutes / 1440.0, 11.0 + 0.001 * minutes,
                filter, std::string{trans}.c_str(), std::string{group}.c_str());
  return text;
}

// Two filters by turns, 1.5 minutes apart, from minute `from`.
std::string pairs(int count, double from = 0.0, std::string_view star = "SS CYG",
                  std::string_view filters = "BV") {
  std::string rows;
  for (int i = 0; i < count; ++i) {
    rows += row(from + 3.0 * i, filters[0], "na", star) +
            row(from + 3.0 * i + 1.5, filters[1], "na", star);
  }
  return rows;
}

struct Written : OnePassOutput {
  bool start(const std::vector<std::string>&) override { return true; }
  void copyLine(std::string_view text, bool) override { lines.append(text).append("\r\n"); }
  void putRow(const ReportInputs&, std::uint32_t index, std::string_view text, char,
              const RowResult* result) override {
    lines.append(text).append("\r\n");
    if (result != nullptr) results.emplace_back(index, *result);
  }
  void abandon() override { abandoned = true; }
  std::string lines;
  std::vector<std::pair<std::uint32_t, RowResult>> results;
  bool abandoned = false;
};

struct Case {
  const char* what;
  std::string rows;
  std::size_t piece;      // bytes read at a time
  std::size_t heldBytes;  // the bound on what is held back
  bool wroteAll;
  bool exact;
  bool sameLines = true;  // the #TRANSFORM lines foreseen are the whole plan's
};

class OnePassTest : public ::testing::TestWithParam<Case> {};

TEST_P(OnePassTest, WritesTheLinesAndSolvesSettledRowsAsTheWholePlan) {
  const Case& c = GetParam();
  diagnostics::DiagnosticList findings;
  const transform::CoefficientReading read =
      transform::readCoefficientText(coefficients, "tg.ini", findings);
  ASSERT_TRUE(read.ok);
  const transform::TransformSetting setting{read.file, "tg.ini", std::nullopt};
  Written written;
  OnePass pass{setting, {10.0}, written, c.heldBytes};
  const std::string report = header + c.rows;
  const ReportInputs inputs = readReportInputsInPieces("r.txt", report, c.piece, pass, findings);
  ASSERT_FALSE(findings.hasErrors());
  EXPECT_EQ(pass.wroteAll(), c.wroteAll);
  EXPECT_EQ(written.abandoned, !c.wroteAll);
  if (!c.wroteAll) return;
  EXPECT_EQ(pass.exact(), c.exact);
  EXPECT_EQ(written.lines, report);
  const RowSets sets = arrangeRows(inputs);
  const auto plan = ReportPlan::make(inputs, sets, setting, {10.0}, findings);
  ASSERT_TRUE(plan.has_value());
  const std::uint32_t exactUpTo =
      pass.exact() ? static_cast<std::uint32_t>(inputs.rows.size()) : pass.firstUnsettled();
  for (const auto& [index, result] : written.results) {
    if (index >= exactUpTo) break;
    ByteFingerprint one;
    ByteFingerprint whole;
    addResult(one, result);
    addResult(whole, plan->solve(index));
    EXPECT_EQ(one.value(), whole.value()) << "row " << index;
  }
  if (!pass.exact()) return;
  // The #TRANSFORM lines foreseen are those of the transformations taken, in the plan's order.
  std::vector<transform::FilterTransform> taken;
  std::copy_if(plan->transforms().begin(), plan->transforms().end(), std::back_inserter(taken),
               [&](const transform::FilterTransform& t) { return pass.took(t.role); });
  EXPECT_EQ(pass.transformLines() == transform::transformCommentLines(taken, "tg.ini"),
            c.sameLines);
}

INSTANTIATE_TEST_SUITE_P(
    Reports, OnePassTest,
    ::testing::Values(
        Case{"pairs read whole", pairs(40), 1 << 16, 1 << 20, true, true},
        Case{"pairs read a few bytes at a time", pairs(40), 97, 1 << 20, true, true},
        Case{"a gap leaves rows without a partner", pairs(10) + pairs(10, 120.0), 211, 1 << 20,
             true, true},
        Case{"I rows after B and V rows were written", pairs(20) + row(58.0, 'I'), 97, 1 << 20,
             false, false},
        Case{"a V row out of time order", pairs(20) + row(10.0, 'V'), 97, 1 << 20, false, false},
        Case{"a GROUP set", pairs(5) + row(30.0, 'B', "1") + row(30.0, 'V', "1"), 97, 1 << 20,
             false, false},
        Case{"B alone forced out, then V",
             pairs(0) + row(0.0, 'B') + row(3.0, 'B') + row(6.0, 'B') + pairs(10, 7.5), 97, 400,
             false, false},
        Case{"rows forced out before their partners are read", pairs(40), 97, 400, true, false},
        // RR LYR is named first, by a row already transformed: the whole plan lists its V
        // coefficient before SS CYG's, whose rows were written first.
        Case{"two stars whose V coefficients the plan lists in another order",
             row(0.0, 'V', "na", "RR LYR", "YES") + pairs(10) + pairs(10, 0.0, "RR LYR", "VR"),
             1 << 16, 1 << 20, true, true, false},
        Case{"a line longer than all that may be held",
             pairs(3) + "#" + std::string(600, 'x') + "\r\n" + pairs(3, 20.0), 97, 400, false,
             false}),
    [](const ::testing::TestParamInfo<Case>& param) {
      std::string name = param.param.what;
      std::replace_if(
          name.begin(), name.end(), [](char ch) { return !std::isalnum(ch); }, '_');
      return name;
    });

}  // namespace
}  // namespace varistellar::report_transform
