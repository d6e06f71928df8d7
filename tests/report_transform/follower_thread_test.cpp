// A follower on a thread of its own sees what it would see on the reading's
// thread, piece by piece, whenever the thread takes over; the rows come back
// whole, and what the follower throws reaches the reader.
#include "report_transform/follower_thread.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <new>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "report_transform/report_source.h"

namespace varistellar::report_transform {
namespace {

// Enough rows for several of the store's blocks; the comparison and the
// delimiter change now and then, so that both lists grow as the rows are read.
std::string report(int rows) {
  std::string text =
      "#TYPE=Extended\r\n#OBSCODE=ABCD\r\n#SOFTWARE=test\r\n#DELIM=,\r\n#DATE=JD\r\n"
      "#OBSTYPE=CCD\r\n"
      "#STARID,DATE,MAG,MERR,FILT,TRANS,MTYPE,CNAME,CMAG,KNAME,KMAG,AIRMASS,GROUP,CHART,NOTES\r\n";
  for (int i = 0; i < rows; ++i) {
    if (i % 7000 == 6999) text += i % 14000 == 6999 ? "#DELIM=;\r\n" : "#DELIM=,\r\n";
    const char d = i % 14000 >= 6999 && i % 14000 < 13999 ? ';' : ',';
    char date[32];
    std::snprintf(date, sizeof date, "%.5f", 2460600.3 + i / 1440.0);
    const std::vector<std::string> fields{"SS CYG",
                                          date,
                                          "11." + std::to_string(100 + i % 900),
                                          "0.010",
                                          i % 2 == 0 ? "B" : "V",
                                          "NO",
                                          "STD",
                                          "000-AAA-001",
                                          "0.000",
                                          "000-AAA-002",
                                          "1.100",
                                          "1.2",
                                          "na",
                                          "12345AB",
                                          "|CREFMAG=12." + std::to_string(100 + i / 3000)};
    for (const std::string& field : fields) text.append(field).push_back(d);
    text.back() = '\r';
    text += '\n';
  }
  return text;
}

// What a follower is shown, call by call.
struct Seen {
  std::string bytes;
  std::vector<std::tuple<std::size_t, std::uint32_t, std::size_t, std::size_t, std::uint64_t>>
      calls;  // rows, the last row's line, references, delimiters, title line
  bool ended = false;
  auto operator<=>(const Seen&) const = default;
};

class Recorder final : public ReadingFollower {
 public:
  explicit Recorder(int throwAtCall = -1) : throwAt_{throwAtCall} {}
  void checked(std::string_view bytes, const ReportInputs& inputs) override {
    if (static_cast<int>(seen.calls.size()) == throwAt_) throw std::bad_alloc{};
    seen.bytes.append(bytes);
    threads.push_back(std::this_thread::get_id());
    note(inputs);
  }
  void ended(const ReportInputs& inputs) override {
    note(inputs);
    seen.ended = true;
  }
  Seen seen;
  std::vector<std::thread::id> threads;  // of each piece

 private:
  void note(const ReportInputs& inputs) {
    const std::size_t rows = inputs.rows.size();
    seen.calls.emplace_back(rows, rows == 0 ? 0 : inputs.rows[rows - 1].line,
                            inputs.references.size(), inputs.delimiters.size(), inputs.titleLine);
  }
  int throwAt_;
};

class FollowerThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = ::testing::TempDir() + "follower_thread_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
    std::ofstream{name_, std::ios::binary | std::ios::trunc} << text_;
  }
  void TearDown() override { std::remove(name_.c_str()); }

  std::string text_ = report(20000);  // about 3.4 MB, 53 pieces of 64 KiB
  std::string name_;
};

TEST_F(FollowerThreadTest, SeesWhatTheReadingsThreadWouldWhereverItTakesOver) {
  Recorder alone;
  diagnostics::DiagnosticList findings;
  ReportSource source{name_};
  const ReportReading expected = readReportInputs(source, findings, &alone, UINT64_MAX);
  ASSERT_EQ(alone.seen.bytes, text_);
  ASSERT_TRUE(alone.seen.ended);
  ASSERT_GT(expected.inputs.rows.size(), 2 * RowStore::blockRows);
  ASSERT_GT(expected.inputs.references.size(), 3u);
  ASSERT_GT(expected.inputs.delimiters.size(), 2u);

  for (const std::uint64_t from : {std::uint64_t{0}, std::uint64_t{1} << 20, text_.size() - 1}) {
    SCOPED_TRACE(from);
    Recorder threaded;
    diagnostics::DiagnosticList again;
    ReportSource same{name_};
    const ReportReading read = readReportInputs(same, again, &threaded, from);
    EXPECT_EQ(threaded.seen, alone.seen);
    ASSERT_EQ(read.inputs.rows.size(), expected.inputs.rows.size());
    for (std::size_t i = 0; i < read.inputs.rows.size(); ++i) {
      ASSERT_EQ(read.inputs.rows[i].line, expected.inputs.rows[i].line) << i;
      ASSERT_EQ(read.inputs.rows[i].reference, expected.inputs.rows[i].reference) << i;
    }
    EXPECT_EQ(read.inputs.references.size(), expected.inputs.references.size());
    EXPECT_EQ(read.inputs.delimiters.size(), expected.inputs.delimiters.size());
  }
}

TEST_F(FollowerThreadTest, ReportKnownToBeLargeIsFollowedOnTheThreadFromItsFirstPiece) {
  const std::uint64_t size = text_.size();
  const struct {
    std::uint64_t from;
    bool firstPieceOnThread;
  } cases[] = {{size / 2, true}, {size / 2 + 1, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.from);
    Recorder recorder;
    diagnostics::DiagnosticList findings;
    ReportSource source{name_};
    (void)readReportInputs(source, findings, &recorder, c.from);
    EXPECT_EQ(source.sizeAtOpen(), size);
    ASSERT_FALSE(recorder.threads.empty());
    EXPECT_EQ(recorder.threads.front() != std::this_thread::get_id(), c.firstPieceOnThread);
    EXPECT_NE(recorder.threads.back(), std::this_thread::get_id());
    EXPECT_EQ(recorder.seen.bytes, text_);
  }
}

TEST_F(FollowerThreadTest, WhatTheFollowerThrowsReachesTheReader) {
  Recorder failing{5};
  diagnostics::DiagnosticList findings;
  ReportSource source{name_};
  EXPECT_THROW((void)readReportInputs(source, findings, &failing, 0), std::bad_alloc);
  EXPECT_FALSE(failing.seen.ended);
}

TEST(FollowerThread, ReadingThatFailsStopsTheFollower) {
  Recorder recorder;
  diagnostics::DiagnosticList findings;
  ReportSource source{::testing::TempDir() + "follower_thread_no_such_file.txt"};
  const ReportReading read = readReportInputs(source, findings, &recorder, 0);
  EXPECT_FALSE(read.check.readable);
  EXPECT_FALSE(recorder.seen.ended);
}

}  // namespace
}  // namespace varistellar::report_transform
