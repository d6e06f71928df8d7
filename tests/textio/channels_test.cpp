// Channels over real files: line ends, TAB expansion, buffer boundaries,
// long lines, truncation at the first write, opens and failure reports.
#include "textio/channels.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace varistellar::textio {
namespace {

namespace fs = std::filesystem;

class ChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = fs::temp_directory_path() /
                 ("varistellar-channels-" +
                  std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(directory_);
    fs::create_directories(directory_);
  }
  void TearDown() override { fs::remove_all(directory_); }

  std::string path(const std::string& name) const { return (directory_ / name).string(); }

  void writeFile(const std::string& name, const std::string& bytes) const {
    std::ofstream{path(name), std::ios::binary} << bytes;
  }
  std::string readFile(const std::string& name) const {
    std::ifstream in{path(name), std::ios::binary};
    return {std::istreambuf_iterator<char>{in}, {}};
  }

  // Every record of `bytes` as a channel with a buffer of `bufferSize` bytes
  // reads them; "<eof>" marks the end of the file.
  std::vector<std::string> records(const std::string& bytes, std::size_t bufferSize,
                                   std::int64_t tabSize = 8) {
    writeFile("input.txt", bytes);
    const platform::OpenResult opened = platform::openExistingFile(path("input.txt"));
    EXPECT_EQ(opened.error, 0);
    std::vector<char> buffer(bufferSize);
    Channel channel{13, opened.handle, false, true, buffer, tabSize};
    RecordBuffer record;
    std::vector<std::string> seen;
    for (;;) {
      const RecordResult result = channel.readRecord(record);
      if (result.status != RecordStatus::ok) {
        seen.emplace_back(result.status == RecordStatus::endOfFile ? "<eof>" : "<failed>");
        break;
      }
      seen.emplace_back(record.view());
    }
    EXPECT_FALSE(channel.close().happened());
    return seen;
  }

  fs::path directory_;
};

using Records = std::vector<std::string>;

TEST_F(ChannelTest, LineEndsAndCarriageReturns) {
  struct Case {
    std::string bytes;
    Records expected;
  };
  const Case cases[] = {
      {"", {"<eof>"}},
      {"a\nb\n", {"a", "b", "<eof>"}},
      {"a\r\nb\r\n", {"a", "b", "<eof>"}},
      {"mid\rdle\n", {"middle", "<eof>"}},
      {"lone CR\r does not end\n", {"lone CR does not end", "<eof>"}},
      {"\n\n", {"", "", "<eof>"}},
      // A last line without LF is still a record; so is a lone CR after the last LF.
      {"a\nlast", {"a", "last", "<eof>"}},
      {"a\n\r", {"a", "", "<eof>"}},
      {std::string{"nul\0and\xff", 8} + "\n", {std::string{"nul\0and\xff", 8}, "<eof>"}},
  };
  for (const Case& c : cases) {
    for (const std::size_t bufferSize : {std::size_t{1}, std::size_t{3}, std::size_t{8192}}) {
      EXPECT_EQ(records(c.bytes, bufferSize), c.expected) << "buffer " << bufferSize;
    }
  }
}

TEST_F(ChannelTest, TabsExpandToTheNextStop) {
  EXPECT_EQ(records("\tx\n", 8192), (Records{"        x", "<eof>"}));
  EXPECT_EQ(records("abc\tx\n", 8192), (Records{"abc     x", "<eof>"}));
  EXPECT_EQ(records("abcdefgh\tx\n", 8192), (Records{"abcdefgh        x", "<eof>"}));
  EXPECT_EQ(records("ab\tc\td\n", 8192, 3), (Records{"ab c  d", "<eof>"}));
  EXPECT_EQ(records("a\tb\n", 8192, 0), (Records{"a\tb", "<eof>"}));
  // A CR dropped before the TAB does not count as a column.
  EXPECT_EQ(records("ab\r\tc\n", 8192), (Records{"ab      c", "<eof>"}));
}

TEST(TabSizeSetting, TakesTheLeadingNumber) {
  struct Case {
    std::optional<std::string> setting;
    std::int64_t expected;
  };
  const Case cases[] = {
      {std::nullopt, 8},
      {"", 8},
      {"0", 0},
      {"3", 3},
      {"+5", 5},
      {"12abc", 12},
      {"abc", 0},
      {"-abc", 0},
      {"-3", 8},
      {"-0", 0},
      {" 4", 0},
      {"1234567890123456789", 1234567890123456789},
      {"12345678901234567890", 8},
      {"9999999999999999999", INT64_MAX},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(tabSizeFromSetting(c.setting), c.expected) << c.setting.value_or("<unset>");
  }
}

TEST_F(ChannelTest, RecordsAcrossBufferBoundaries) {
  for (const std::size_t size : {std::size_t{256}, std::size_t{8192}}) {
    for (const std::size_t length : {size - 2, size - 1, size, size + 1, 3 * size}) {
      const std::string line(length, 'x');
      EXPECT_EQ(records(line + "\r\n" + line + "\n", size), (Records{line, line, "<eof>"}))
          << "buffer " << size << ", line " << length;
    }
  }
}

TEST_F(ChannelTest, ATenMegabyteLineIsReadWhole) {
  const std::string line(10 * 1024 * 1024, 'y');
  EXPECT_EQ(records(line + "\nz\n", 8192), (Records{line, "z", "<eof>"}));
}

TEST_F(ChannelTest, WritesEndRecordsWithCrLfAndBufferDiskFiles) {
  const platform::OpenResult created = platform::createEmptyFile(path("out.txt"));
  ASSERT_EQ(created.error, 0);
  std::vector<char> buffer(32);
  Channel channel{15, created.handle, false, true, buffer, 8};
  ASSERT_FALSE(channel.writeRecord("first").happened());
  EXPECT_EQ(readFile("out.txt"), "") << "a disk file is written out only when its buffer fills";
  const std::string longRecord(75, 'L');
  ASSERT_FALSE(channel.writeRecord(longRecord).happened());
  ASSERT_FALSE(channel.close().happened());
  EXPECT_EQ(readFile("out.txt"), "first\r\n" + longRecord + "\r\n");
}

TEST_F(ChannelTest, ADeviceIsWrittenOutAtTheEndOfEveryRecord) {
  const platform::OpenResult created = platform::createEmptyFile(path("device.txt"));
  ASSERT_EQ(created.error, 0);
  std::vector<char> buffer(256);
  Channel channel{-1, created.handle, true, false, buffer, 8};
  const std::string longRecord(600, 'D');
  ASSERT_FALSE(channel.writeRecord(longRecord).happened());
  EXPECT_EQ(readFile("device.txt"), longRecord + "\r\n");
  ASSERT_FALSE(channel.writeRecord("").happened());
  EXPECT_EQ(readFile("device.txt"), longRecord + "\r\n\r\n");
  ASSERT_FALSE(channel.close().happened());
}

TEST_F(ChannelTest, AnOldLongerFileKeepsOnlyWhatIsWritten) {
  writeFile("report.txt", std::string(20000, 'o'));
  ASSERT_EQ(openChannel(15, path("report.txt"), noBranches), IoOutcome::ok);
  EXPECT_EQ(readFile("report.txt").size(), 20000U) << "opening cuts nothing";
  writeRecord(15, "new");
  EXPECT_EQ(readFile("report.txt").size(), 20000U) << "nothing written out yet";
  closeChannel(15);
  EXPECT_EQ(readFile("report.txt"), "new\r\n");
}

TEST_F(ChannelTest, AFileWithoutWritesKeepsItsContent) {
  writeFile("report.txt", "old\r\n");
  ASSERT_EQ(openChannel(15, path("report.txt"), noBranches), IoOutcome::ok);
  closeChannel(15);
  EXPECT_EQ(readFile("report.txt"), "old\r\n");
}

TEST_F(ChannelTest, AMissingFileIsCreatedEmptyAndStays) {
  ASSERT_EQ(openChannel(13, path("missing.txt"), errorBranch), IoOutcome::ok);
  FixedText<80> header;
  EXPECT_EQ(readTextField(13, errorBranch, 80, header.span()), IoOutcome::error);
  EXPECT_EQ(readTextField(13, Branches{.error = true, .endOfFile = true}, 80, header.span()),
            IoOutcome::endOfFile);
  closeChannel(13);
  EXPECT_TRUE(fs::exists(path("missing.txt")));
  EXPECT_EQ(fs::file_size(path("missing.txt")), 0U);
}

TEST_F(ChannelTest, ARefusedOpenTakesTheErrorBranch) {
  fs::create_directory(path("lightcurve.txt"));
  EXPECT_EQ(openChannel(13, path("lightcurve.txt"), errorBranch), IoOutcome::error);
  EXPECT_EQ(closeChannel(13), IoOutcome::ok) << "nothing of the channel remains";
}

TEST_F(ChannelTest, TextFieldsAndFreeFormReadsTakeTheirRecords) {
  writeFile("parameters.txt", "ABCDEFG\n\n   \n12.5 rest\n1 2\n3\n");
  ASSERT_EQ(openChannel(14, path("parameters.txt"), errorBranch), IoOutcome::ok);
  FixedText<4> code;
  ASSERT_EQ(readTextField(14, errorBranch, 4, code.span()), IoOutcome::ok);
  EXPECT_EQ(code.view(), "ABCD");
  double magnitude = 0;
  double* const one[] = {&magnitude};
  ASSERT_EQ(readFreeForm(14, noBranches, one), IoOutcome::ok);
  EXPECT_EQ(magnitude, 12.5) << "empty and blank lines are passed over";
  double a = 0, b = 0, c = 0;
  double* const three[] = {&a, &b, &c};
  ASSERT_EQ(readFreeForm(14, noBranches, three), IoOutcome::ok);
  EXPECT_EQ(std::vector({a, b, c}), std::vector({1.0, 2.0, 3.0}));
  EXPECT_EQ(readFreeForm(14, endOfFileBranch, three), IoOutcome::endOfFile);
  closeChannel(14);
}

// Failures without a branch end the process with the report on standard error.
using ChannelDeathTest = ChannelTest;

TEST_F(ChannelDeathTest, EndOfFileWithoutABranchIsReported) {
  writeFile("short.txt", "only line\n");
  EXPECT_EXIT(
      {
        (void)openChannel(14, path("short.txt"), noBranches);
        FixedText<4> text;
        (void)readTextField(14, noBranches, 4, text.span());
        (void)readTextField(14, noBranches, 4, text.span());
      },
      ::testing::ExitedWithCode(255),
      ::testing::StrEq("? Run-time error:\r\n? Attempt to read past end of file\r\n"
                       "? READ(UNIT=14,...\n"));
}

TEST_F(ChannelDeathTest, AnIllegalNumberWithoutABranchIsReported) {
  writeFile("table.txt", "JD 12\n");
  EXPECT_EXIT(
      {
        (void)openChannel(13, path("table.txt"), noBranches);
        double value = 0;
        double* const one[] = {&value};
        (void)readFreeForm(13, endOfFileBranch, one);
      },
      ::testing::ExitedWithCode(255),
      ::testing::StrEq("? Run-time error:\r\n? Illegal character in numeric input\r\n"
                       "? READ(UNIT=13,...\n"));
}

TEST_F(ChannelDeathTest, ARefusedOpenWithoutABranchIsASystemError) {
  fs::create_directory(path("report.txt"));
  EXPECT_EXIT((void)openChannel(15, path("report.txt"), noBranches), ::testing::ExitedWithCode(255),
              ::testing::StrEq("? System Error:\r\n? Access Denied.\r\n? OPEN(UNIT=15,...\n"));
}

TEST_F(ChannelDeathTest, TheReportWritesOutOpenFilesFirst) {
  EXPECT_EXIT(
      {
        (void)openChannel(15, path("report.txt"), noBranches);
        writeRecord(15, "kept");
        reportUnhandledFailure({.ownMessage = readPastEndOfFile}, StatementKind::read,
                               consoleChannel);
      },
      ::testing::ExitedWithCode(255),
      ::testing::StrEq("? Run-time error:\r\n? Attempt to read past end of file\r\n"
                       "? READ(UNIT=*,...\n"));
  EXPECT_EQ(readFile("report.txt"), "kept\r\n");
}

}  // namespace
}  // namespace varistellar::textio
