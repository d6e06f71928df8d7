// The strict readers' line reader over real files: line ends, buffer
// boundaries, the longest line it takes, and the kind of text a file's
// first bytes show.
#include "textio/line_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "textio/text_kind.h"

namespace varistellar::textio {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class LineReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = fs::temp_directory_path() /
                 ("varistellar-line-reader-" +
                  std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(directory_);
    fs::create_directories(directory_);
  }
  void TearDown() override { fs::remove_all(directory_); }

  std::string write(const std::string& bytes) const {
    const std::string name = (directory_ / "input.txt").string();
    std::ofstream{name, std::ios::binary} << bytes;
    return name;
  }

  // Every line the reader gives of `bytes`; "<long N>" marks a stop at the
  // long line N, "<failed>" a failure.
  std::vector<std::string> lines(const std::string& bytes) const {
    LineReader reader{write(bytes)};
    EXPECT_TRUE(reader.opened());
    std::vector<std::string> seen;
    std::string_view line;
    while (reader.next(line)) {
      seen.emplace_back(line);
      EXPECT_EQ(reader.lineNumber(), seen.size());
    }
    if (reader.stoppedAtLongLine())
      seen.push_back("<long " + std::to_string(reader.lineNumber() + 1) + ">");
    if (reader.failure().happened()) seen.emplace_back("<failed>");
    return seen;
  }

 private:
  fs::path directory_;
};

using Lines = std::vector<std::string>;

TEST_F(LineReaderTest, LfAndCrLfEndLinesAndCrIsDroppedAnywhere) {
  EXPECT_EQ(lines(""), Lines{});
  EXPECT_EQ(lines("a\nb\n"), (Lines{"a", "b"}));
  EXPECT_EQ(lines("a\r\nb\r\n"), (Lines{"a", "b"}));
  EXPECT_EQ(lines("a\r\r\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(lines("1\r2\t3\n\n"), (Lines{"12\t3", ""}));
  // Bytes after the last LF make one final line, a CR alone too.
  EXPECT_EQ(lines("a\nlast"), (Lines{"a", "last"}));
  EXPECT_EQ(lines("a\n\r"), (Lines{"a", ""}));
  EXPECT_EQ(lines("\n"), (Lines{""}));
}

TEST_F(LineReaderTest, TheLongestLineItTakesAndTheFirstItRefuses) {
  const std::string longest(LineReader::maxLineLength, 'x');
  EXPECT_EQ(lines("a\n" + longest + "\nb\n"), (Lines{"a", longest, "b"}));
  EXPECT_EQ(lines("a\n" + longest), (Lines{"a", longest}));
  // The limit counts the line's bytes as they are in the file, CR and all.
  EXPECT_EQ(lines("a\n" + longest + "\r\nb\n"), (Lines{"a", "<long 2>"}));
  EXPECT_EQ(lines("a\n" + longest + "x"), (Lines{"a", "<long 2>"}));
  // A file with no line end at all is read no further than the limit.
  EXPECT_EQ(lines(std::string(3 * LineReader::bufferSize, '7')), (Lines{"<long 1>"}));
}

TEST_F(LineReaderTest, LinesAcrossEveryBufferBoundaryComeWhole) {
  // Lines of every length from 0 to 3000 bytes, CR LF or LF, so that the
  // buffer's end falls in every part of a line and of its line end.
  std::string bytes;
  Lines expected;
  for (std::size_t i = 0; bytes.size() < 3 * LineReader::bufferSize + 17; ++i) {
    std::string line(i * 37 % 3001, static_cast<char>('a' + i % 26));
    if (!line.empty()) line[line.size() / 2] = '\t';
    bytes += line + (i % 3 == 0 ? "\r\n" : "\n");
    expected.push_back(line);
  }
  EXPECT_EQ(lines(bytes), expected);
}

TEST_F(LineReaderTest, BeginningShowsTheFirstBytesAndLeavesTheLinesToRead) {
  LineReader reader{write("JDHEL\r\nsecond\n")};
  EXPECT_EQ(reader.beginning(), "JDHEL\r\nsecond\n");
  EXPECT_EQ(reader.beginning(), "JDHEL\r\nsecond\n");
  std::string_view line;
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ(line, "JDHEL");
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ(line, "second");
  EXPECT_FALSE(reader.next(line));
  EXPECT_FALSE(reader.failure().happened());
}

TEST_F(LineReaderTest, AMissingFileIsAFailureAndIsNotCreated) {
  const fs::path missing = fs::temp_directory_path() / "varistellar-line-reader-missing.txt";
  LineReader reader{missing.string()};
  EXPECT_FALSE(reader.opened());
  EXPECT_TRUE(reader.failure().happened());
  EXPECT_EQ(reader.beginning(), "");
  std::string_view line;
  EXPECT_FALSE(reader.next(line));
  EXPECT_FALSE(fs::exists(missing));
}

struct KindCase {
  std::string bytes;
  TextKind kind;
};

class TextKindTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(TextKindTest, ToldFromTheFirstBytes) {
  EXPECT_EQ(textKindOf(GetParam().bytes), GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(
    Beginnings, TextKindTest,
    ::testing::Values(
        KindCase{"", TextKind::lines}, KindCase{"JDHEL V-C\r\n2456175.6 1\r\n", TextKind::lines},
        KindCase{"one line, no end", TextKind::lines}, KindCase{"\n\n", TextKind::lines},
        // UTF-8 is read as bytes; its faults are the values'.
        KindCase{"\xef\xbb\xbfJDHEL\n\xc3\xa9\n", TextKind::lines},
        KindCase{"\xff\xfeJ\0D\0"s, TextKind::utf16}, KindCase{"\xfe\xff\0J\0D"s, TextKind::utf16},
        KindCase{"J\0D\0H\0\r\0\n\0x\0"s, TextKind::utf16},
        KindCase{"\0J\0D\0H\0\r\0\n\0x"s, TextKind::utf16}, KindCase{"J\0D\0H\0"s, TextKind::utf16},
        // A NUL here and there is no UTF-16: the file is not text.
        KindCase{"JD\0H\n"s, TextKind::notText}, KindCase{"\0\0\0\0"s, TextKind::notText},
        KindCase{"\x89PNG\r\n\x1a\n\0\0\0\rIHDR"s, TextKind::notText},
        KindCase{"JDHEL\n2456175.6\0 1\n"s, TextKind::notText},
        KindCase{"JDHEL V-C\r2456175.6 1\r", TextKind::crOnly},
        KindCase{"JDHEL V-C\r2456175.6 1", TextKind::crOnly}));

}  // namespace
}  // namespace varistellar::textio
