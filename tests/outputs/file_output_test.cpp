// A file output's life with real causes of failure: a folder in the way, a
// name the upload refuses, a report its own check rejects, a FIFO whose
// reader goes away, a full device, a commit that fails after another
// output is in place. A full disk and an unwritable folder need root to set
// up; test_file_output.py hands them in through the environment.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "outputs/drawn_file.h"
#include "outputs/output_list.h"
#include "outputs/report_file.h"
#include "platform/platform.h"

namespace varistellar::outputs {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> header{"#TYPE=Extended", "#OBSCODE=ABCD", "#SOFTWARE=test",
                                      "#DELIM=,",       "#DATE=HJD",     "#OBSTYPE=CCD"};
const std::string row =
    "RR LYR,2456175.10000,11.458,0.004,V,NO,STD,000-AAA-001,na,na,na,1.556,na,12345AB,na";

std::string readWhole(const fs::path& file) {
  std::ifstream in{file, std::ios::binary};
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> errorTexts(const diagnostics::DiagnosticList& findings) {
  std::vector<std::string> texts;
  for (const auto& d : findings.all()) texts.push_back(d.text);
  return texts;
}

void writeReport(ReportFile& report, std::size_t rows = 1) {
  for (const std::string& line : header) report.write(line);
  for (std::size_t i = 0; i < rows; ++i) report.write(row);
}

// Each test in a scratch folder of its own, removed afterwards.
class FileOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::prepareProcess();  // a reader that goes away must not end the test
    folder_ =
        fs::temp_directory_path() / ("file-output-test-" + std::to_string(platform::processId()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  [[nodiscard]] std::string at(const std::string& name) const { return (folder_ / name).string(); }
  [[nodiscard]] std::size_t entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator{folder_}, {}));
  }

  fs::path folder_;
  diagnostics::DiagnosticList findings_;
};

TEST_F(FileOutputTest, CommitsACheckedReportInPlace) {
  ReportFile report{at("night.txt"), "convert"};
  ASSERT_EQ(report.open(findings_), Phase::done);
  writeReport(report);
  EXPECT_EQ(report.finish(findings_), Phase::done);
  EXPECT_EQ(report.check(), Phase::done);
  EXPECT_EQ(report.commit(findings_), Phase::done);
  EXPECT_TRUE(report.committed());
  std::string expected;
  for (const std::string& line : header) expected += line + "\r\n";
  EXPECT_EQ(readWhole(at("night.txt")), expected + row + "\r\n");
  EXPECT_TRUE(findings_.all().empty());
}

TEST_F(FileOutputTest, AnUncommittedReportLeavesNothing) {
  {
    ReportFile report{at("night.txt"), "convert"};
    ASSERT_EQ(report.open(findings_), Phase::done);
    writeReport(report);
    EXPECT_EQ(report.finish(findings_), Phase::done);
  }
  EXPECT_EQ(entries(), 0U);
}

TEST_F(FileOutputTest, OpeningFailsWithItsReason) {
  fs::create_directory(folder_ / "folder.txt");
  const struct {
    std::string name;
    std::string error;  // the whole error, or its start when it ends in ": "
  } cases[] = {
      {"folder.txt", "cannot write the report: it is a folder"},
      {"night.dat",
       "the report's name must end in .txt, .csv or .tsv, as the AAVSO's upload requires"},
      {"missing/night.txt", "cannot write the report: "},
  };
  for (const auto& c : cases) {
    diagnostics::DiagnosticList findings;
    ReportFile report{at(c.name), "convert"};
    EXPECT_EQ(report.open(findings), Phase::failed) << c.name;
    ASSERT_EQ(findings.all().size(), 1U) << c.name;
    const std::string& text = findings.all().front().text;
    if (c.error.ends_with(": ")) {
      EXPECT_TRUE(text.starts_with(c.error) && text.size() > c.error.size()) << text;
    } else {
      EXPECT_EQ(text, c.error);
    }
    EXPECT_EQ(findings.all().front().file, at(c.name));
  }
}

TEST_F(FileOutputTest, AReportItsCheckRejectsIsNeverPutInPlace) {
  ReportFile report{at("night.txt"), "transform"};
  ASSERT_EQ(report.open(findings_), Phase::done);
  for (const std::string& line : header) report.write(line);
  report.write("RR LYR,not a date,11.458");
  EXPECT_EQ(report.finish(findings_), Phase::done);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(report.check(), Phase::failed);
  const std::string told = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(told.find("varistellar: the report failed its own check, which is a defect of "
                      "transform; nothing was written\n"),
            std::string::npos)
      << told;
}

TEST_F(FileOutputTest, AFifoWhoseReaderGoesAwayIsIncomplete) {
  const std::string fifo = at("night.fifo");
  // The reader takes one byte and leaves; the rest meets a broken pipe.
  ASSERT_EQ(
      std::system(("mkfifo '" + fifo + "' && (head -c 1 '" + fifo + "' >/dev/null &)").c_str()), 0);
  ReportFile report{fifo, "convert"};
  ASSERT_EQ(report.open(findings_), Phase::done);
  writeReport(report, 20000);
  EXPECT_EQ(report.finish(findings_), Phase::failed);
  ASSERT_EQ(findings_.all().size(), 1U);
  EXPECT_TRUE(findings_.all().front().text.starts_with("cannot write the report: "));
  ::testing::internal::CaptureStderr();
  report.tellNothingWritten(1);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "varistellar: 1 error; the report sent to " + fifo + " is incomplete\n");
}

TEST_F(FileOutputTest, AFullDeviceFailsTheFinish) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  ReportFile report{"/dev/full", "convert"};
  ASSERT_EQ(report.open(findings_), Phase::done);
  writeReport(report, 100);
  EXPECT_EQ(report.finish(findings_), Phase::failed);
  ASSERT_EQ(findings_.all().size(), 1U);
  EXPECT_TRUE(findings_.all().front().text.starts_with("cannot write the report: "));
}

TEST_F(FileOutputTest, ALaterCommitNamesWhatIsInPlace) {
  ReportFile report{at("night.txt"), "convert"};
  DrawnFile picture{
      at("night.svg"), "picture", [] { return std::string{"<svg/>\n"}; }, {"table", "no memory"}};
  OutputList outputs;
  outputs.add(report);
  outputs.add(picture);
  ASSERT_EQ(report.open(findings_), Phase::done);
  ASSERT_EQ(picture.open(findings_), Phase::done);
  writeReport(report);
  ASSERT_EQ(outputs.finish(findings_), Phase::done);
  ASSERT_EQ(outputs.check(), Phase::done);
  // A folder that is not empty takes the picture's place before it is put there.
  fs::create_directories(folder_ / "night.svg" / "inside");
  EXPECT_EQ(outputs.commit(findings_), Committed::some);
  ASSERT_EQ(findings_.all().size(), 1U);
  const std::string& text = findings_.all().front().text;
  EXPECT_TRUE(text.starts_with("cannot write the picture: ")) << text;
  EXPECT_TRUE(
      text.ends_with("; the report " + at("night.txt") + " was written, the picture was not"))
      << text;
  EXPECT_TRUE(report.committed());
  EXPECT_FALSE(picture.committed());
}

TEST_F(FileOutputTest, ADrawingOutOfMemoryIsReportedWhereItWasAsked) {
  DrawnFile picture{at("night.svg"),
                    "picture",
                    []() -> std::string { throw std::bad_alloc{}; },
                    {"table.txt", "out of memory for the picture's points"}};
  ASSERT_EQ(picture.open(findings_), Phase::done);
  EXPECT_EQ(picture.finish(findings_), Phase::failed);
  EXPECT_EQ(errorTexts(findings_),
            std::vector<std::string>{"out of memory for the picture's points"});
  EXPECT_EQ(findings_.all().front().file, "table.txt");
}

// Set up by test_file_output.py as root: a small tmpfs filled to the last
// byte, and a folder the test (run with dropped privileges) may not write in.
TEST_F(FileOutputTest, AFullDiskLeavesNoReport) {
  const char* full = std::getenv("VARISTELLAR_FULL_FOLDER");
  if (full == nullptr) GTEST_SKIP() << "needs a full disk";
  const std::string file = std::string{full} + "/night.txt";
  {
    ReportFile report{file, "convert"};
    if (report.open(findings_) == Phase::done) {
      writeReport(report, 2000);
      EXPECT_EQ(report.finish(findings_), Phase::failed);
    }
  }
  ASSERT_EQ(findings_.all().size(), 1U);
  EXPECT_TRUE(findings_.all().front().text.starts_with("cannot write the report: "));
  EXPECT_FALSE(fs::exists(file));
}

TEST_F(FileOutputTest, AnUnwritableFolderIsReported) {
  const char* folder = std::getenv("VARISTELLAR_UNWRITABLE_FOLDER");
  if (folder == nullptr) GTEST_SKIP() << "needs an unwritable folder";
  ReportFile report{std::string{folder} + "/night.txt", "convert"};
  EXPECT_EQ(report.open(findings_), Phase::failed);
  ASSERT_EQ(findings_.all().size(), 1U);
  EXPECT_TRUE(findings_.all().front().text.starts_with("cannot write the report: "));
}

}  // namespace
}  // namespace varistellar::outputs
