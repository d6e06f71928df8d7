// convert's check of its own report as it is written: a bad line stops the
// report, and a report long enough to pass through every block many times
// finds exactly what `check` finds in the same bytes.
#include "convert/own_check.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "check/report_check.h"

namespace varistellar::convert {
namespace {

const std::vector<std::string> header{"#TYPE=Extended", "#OBSCODE=ABCD",  "#SOFTWARE=test",
                                      "#DELIM=,",       "#DATE=HJD",      "#OBSTYPE=CCD"};

std::string row(int i) {
  return "RR LYR," + std::to_string(2456175 + i / 100000) + "." +
         std::to_string(10000 + i % 90000) + ",11.458,0.004,V,NO,STD,000-AAA-001,na,na,na,1.556,na,"
         "12345AB,na";
}

struct Listed {
  std::string id;
  std::uint64_t line;
  diagnostics::Severity severity;
  bool operator==(const Listed&) const = default;
};

std::vector<Listed> listed(const diagnostics::DiagnosticList& list) {
  std::vector<Listed> out;
  for (const auto& d : list.all()) out.push_back({d.ruleId, d.line, d.severity});
  return out;
}

OwnCheckResult checked(const std::vector<std::string>& lines) {
  OwnCheck check{"night-aavso.txt"};
  for (const std::string& line : lines) check.takeLine(line);
  return check.finish();
}

TEST(OwnCheck, PassesAGoodReportAndStopsABadOne) {
  std::vector<std::string> lines = header;
  lines.push_back(row(1));
  EXPECT_TRUE(checked(lines).passed);

  lines.push_back("RR LYR,2456175.20000,11.458,0.004,V,NO,STD,000-AAA-001,na,na");
  const OwnCheckResult bad = checked(lines);
  EXPECT_FALSE(bad.passed);
  const auto found = listed(bad.findings);
  EXPECT_NE(std::find(found.begin(), found.end(),
                      Listed{"R1", 8, diagnostics::Severity::error}),
            found.end());
}

TEST(OwnCheck, FindsWhatCheckFindsInALongReport) {
  // About 40 of the blocks that take turns between the two threads, with a
  // fault near the end, after the blocks have gone round many times.
  std::vector<std::string> lines = header;
  std::string text;
  for (int i = 0; i < 60000; ++i) lines.push_back(row(i));
  lines[59990] = "RR LYR,2456175.99999,11.458,0.004,Q,NO,STD,000-AAA-001,na,na,na,1.556,na,x,na";
  for (const std::string& line : lines) text += line + "\r\n";

  const OwnCheckResult own = checked(lines);
  diagnostics::DiagnosticList expected;
  std::uint64_t observations = 0;
  check::checkReportText("night-aavso.txt", text, expected, observations,
                         platform::secondsSinceEpoch());
  EXPECT_EQ(listed(own.findings), listed(expected));
  EXPECT_FALSE(own.passed);
  EXPECT_EQ(observations, 60000u);
}

TEST(OwnCheck, AnUnfinishedCheckEndsWithItsOwner) {
  OwnCheck check{"night-aavso.txt"};
  for (int i = 0; i < 5000; ++i) check.takeLine(row(i));
}

}  // namespace
}  // namespace varistellar::convert
