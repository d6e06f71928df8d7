// convert's check of its own report, read back behind its writer: a bad
// line stops the report, a long report written in many pieces finds exactly
// the errors and warnings `check` finds in the same bytes, and a file cut shorter than what was
// written fails the check.
#include "outputs/own_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "check/report_check.h"
#include "platform/platform.h"

namespace varistellar::outputs {
namespace {

const std::string header =
    "#TYPE=Extended\r\n#OBSCODE=ABCD\r\n#SOFTWARE=test\r\n#DELIM=,\r\n#DATE=HJD\r\n"
    "#OBSTYPE=CCD\r\n";

std::string row(int i) {
  return "RR LYR," + std::to_string(2456175 + i / 90000) + "." + std::to_string(10000 + i % 90000) +
         ",11.458,0.004,V,NO,STD,000-AAA-001,na,na,na,1.556,na,12345AB,na\r\n";
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

// What `check` finds, without the notes the own check does not look for.
std::vector<Listed> printable(const diagnostics::DiagnosticList& list) {
  std::vector<Listed> out = listed(list);
  std::erase_if(out, [](const Listed& l) { return l.severity == diagnostics::Severity::note; });
  return out;
}

// A scratch file that the check reads while the test writes it.
class WrittenReport : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = "own-check-test-" + std::to_string(platform::processId()) + ".txt";
    (void)platform::removeFile(name_);
    file_ = platform::createExclusive(name_);
    ASSERT_EQ(file_.error, 0);
  }
  void TearDown() override {
    (void)platform::closeFile(file_.handle);
    (void)platform::removeFile(name_);
  }

  // Writes `text` in pieces of `piece` bytes, telling the check after each,
  // and ends the check at `claimed` bytes (all of them when 0).
  OwnCheckResult writeAndCheck(const std::string& text, std::size_t piece,
                               std::uint64_t claimed = 0) {
    OwnCheck check{name_, "night-aavso.txt"};
    for (std::size_t at = 0; at < text.size(); at += piece) {
      const std::size_t size = std::min(piece, text.size() - at);
      EXPECT_EQ(platform::writeAll(file_.handle, {text.data() + at, size}).error, 0);
      check.written(at + size);
    }
    return check.finish(claimed != 0 ? claimed : text.size());
  }

  std::string name_;
  platform::OpenResult file_;
};

TEST_F(WrittenReport, PassesAGoodReport) {
  std::string text = header + row(1);
  EXPECT_TRUE(writeAndCheck(text, 4096).passed);
}

TEST_F(WrittenReport, StopsAReportWithABadLine) {
  const std::string text =
      header + row(1) + "RR LYR,2456175.20000,11.458,0.004,V,NO,STD,000-AAA-001,na,na\r\n";
  const OwnCheckResult bad = writeAndCheck(text, 7);
  EXPECT_FALSE(bad.passed);
  const auto found = listed(bad.findings);
  EXPECT_NE(std::find(found.begin(), found.end(), Listed{"R1", 8, diagnostics::Severity::error}),
            found.end());
}

TEST_F(WrittenReport, FindsWhatCheckFindsInALongReport) {
  // Many pieces of a size that splits lines, with a fault near the end.
  std::string text = header;
  for (int i = 0; i < 60000; ++i) {
    text += i == 59990 ? "RR LYR,2456175.99999,11.458,0.004,Q,NO,STD,000-AAA-001,na,na,na,1.556,"
                         "na,x,na\r\n"
                       : row(i);
  }
  const OwnCheckResult own = writeAndCheck(text, 65521);
  diagnostics::DiagnosticList expected;
  std::uint64_t observations = 0;
  check::checkReportText("night-aavso.txt", text, expected, observations,
                         platform::secondsSinceEpoch());
  EXPECT_EQ(listed(own.findings), printable(expected));
  EXPECT_FALSE(own.passed);
  EXPECT_EQ(observations, 60000u);
}

TEST_F(WrittenReport, FailsWhenTheFileIsShorterThanWhatWasWritten) {
  const std::string text = header + row(1);
  const OwnCheckResult own = writeAndCheck(text, 4096, text.size() + 10);
  EXPECT_FALSE(own.passed);
  ASSERT_FALSE(own.findings.all().empty());
  EXPECT_EQ(own.findings.all().front().text,
            "cannot read the report back to check it: the file is shorter than what was written "
            "to it");
}

TEST_F(WrittenReport, AnUnfinishedCheckEndsWithItsOwner) {
  OwnCheck check{name_, "night-aavso.txt"};
  check.written(0);
}

// A report sent to a stream: its lines are handed over as they are written,
// and the check finds in them what `check` finds in the same bytes, save the
// file name, which a stream has none of.
OwnCheckResult streamAndCheck(const std::vector<std::string>& lines, std::string& bytes) {
  OwnCheck check{"/dev/stdout"};
  for (const std::string& line : lines) {
    check.line(line);
    bytes += line + "\r\n";
  }
  return check.finish(bytes.size());
}

TEST(StreamedReport, IsCheckedLineByLineAsCheckChecksItsBytes) {
  struct Case {
    std::string badLine;  // after the header and a good row; none when empty
    bool passes;
  };
  const std::vector<Case> cases = {
      {"", true},
      // Too many fields: a delimiter inside a field.
      {"RR LYR,2456175.20000,11.458,0.004,V,YES,STD,000-AAA-001,na,na,na,1.556,na,12345AB,"
       "|Tb,bv=0.1181",
       false},
      // A byte no report may hold, in a comment line.
      {"#TRANSFORM Tv_bv=-0.0467 +/- 0.0070 (co\xc3\xab"
       "ff.ini)",
       false},
      {"#TRANSFORM Tv_bv=-0.0467 +/- 0.0070 (co\\xC3\\xABff.ini)", true},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines;
    std::string text = header + row(1);
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t end = text.find("\r\n", at);
      lines.push_back(text.substr(at, end - at));
      at = end + 2;
    }
    if (!c.badLine.empty()) lines.push_back(c.badLine);
    std::string bytes;
    const OwnCheckResult own = streamAndCheck(lines, bytes);
    diagnostics::DiagnosticList expected;
    std::uint64_t observations = 0;
    check::checkReportText("/dev/stdout", bytes, expected, observations,
                           platform::secondsSinceEpoch());
    std::vector<Listed> expectedListed = printable(expected);
    std::erase_if(expectedListed, [](const Listed& l) { return l.id == "F3"; });
    EXPECT_EQ(listed(own.findings), expectedListed) << c.badLine;
    EXPECT_EQ(own.passed, c.passes) << c.badLine;
    EXPECT_EQ(own.streamedTo, "/dev/stdout");
  }
}

TEST(PrintedCheck, SaysWhatBecameOfAFailedReport) {
  struct Case {
    std::string streamedTo;
    std::string command;
    std::string lastLine;
  };
  const std::vector<Case> cases = {
      {"", "transform",
       "varistellar: the report failed its own check, which is a defect of transform; nothing "
       "was written"},
      {"/dev/stdout", "transform",
       "varistellar: the report written to /dev/stdout failed its own check, which is a defect "
       "of transform; do not submit it"},
      {"report.fifo", "convert",
       "varistellar: the report written to report.fifo failed its own check, which is a defect "
       "of convert; do not submit it"},
  };
  for (const Case& c : cases) {
    OwnCheckResult failed;
    failed.findings.error("r.txt", 9, 0, "18 fields, not 15");
    failed.findings.warning("r.txt", 9, 0, "a warning, not printed with an error");
    failed.passed = false;
    failed.streamedTo = c.streamedTo;
    ::testing::internal::CaptureStderr();
    printOwnCheck(failed, c.command);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "r.txt:9: error: 18 fields, not 15\n" + c.lastLine + "\n");
  }
}

TEST(StreamedReport, AnUnfinishedCheckEndsWithItsOwner) {
  OwnCheck check{"/dev/stdout"};
  check.line("#TYPE=Extended");
}

}  // namespace
}  // namespace varistellar::outputs
