#include "report_transform/report_lines.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "report_transform/report_source.h"

namespace varistellar::report_transform {
namespace {

// A scratch file of the test's own, removed at the end.
class ScratchFile {
 public:
  explicit ScratchFile(const std::string& bytes)
      : name_{::testing::TempDir() + "report_lines_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt"} {
    write(bytes);
  }
  ~ScratchFile() { std::remove(name_.c_str()); }
  void write(const std::string& bytes) const {
    std::ofstream{name_, std::ios::binary | std::ios::trunc} << bytes;
  }
  [[nodiscard]] const std::string& name() const { return name_; }

 private:
  std::string name_;
};

struct ReadBack {
  std::vector<std::string> lines;
  Fingerprint fingerprint;
  bool failed = false;
};

ReadBack readLines(platform::OpenResult opened) {
  ReadBack back;
  EXPECT_EQ(opened.error, 0);
  ReportLines reader{opened.handle};
  std::string_view line;
  while (reader.next(line)) {
    back.lines.emplace_back(line);
    EXPECT_EQ(reader.lineNumber(), back.lines.size());
  }
  back.failed = reader.failure().has_value();
  back.fingerprint = reader.fingerprint();
  return back;
}

Fingerprint fingerprintOf(const std::string& bytes) {
  ByteFingerprint fingerprint;
  fingerprint.add(bytes);
  return fingerprint.value();
}

TEST(ReportLines, ReadsLinesOfAnyLength) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
  };
  const std::string longest(300000, 'n');
  const std::vector<Case> cases = {
      {"empty", "", {}},
      {"one line without its end", "abc", {"abc"}},
      {"CR LF and a bare CR dropped", "a\r\nb\rc\r\n\r\n", {"a", "bc", ""}},
      {"a line of 4095 bytes", std::string(4095, 'x') + "\nend\n", {std::string(4095, 'x'), "end"}},
      {"a line of 4096 bytes", std::string(4096, 'x') + "\n", {std::string(4096, 'x')}},
      {"a line of 4097 bytes with CR LF",
       std::string(4097, 'x') + "\r\n",
       {std::string(4097, 'x')}},
      {"a line as long as the first buffer",
       std::string(65536, 'b') + "\nz",
       {std::string(65536, 'b'), "z"}},
      {"short, very long, short", "s\n" + longest + "\r\nt\n", {"s", longest, "t"}},
      {"a very long last line without its end", "s\n" + longest, {"s", longest}},
  };
  for (const Case& c : cases) {
    const ScratchFile file{c.bytes};
    const ReadBack back = readLines(platform::openForReading(file.name()));
    EXPECT_FALSE(back.failed) << c.name;
    EXPECT_EQ(back.lines, c.lines) << c.name;
    EXPECT_EQ(back.fingerprint, fingerprintOf(c.bytes)) << c.name;
  }
}

// The second reading is compared with the first: a report rewritten in
// between, even to the same length, is told apart.
TEST(ReportLines, ASecondReadingOfAChangedReportDiffers) {
  const std::string original = "#TYPE=Extended\nRR LYR,2460600.30000,12.300\n";
  const std::vector<std::pair<const char*, std::string>> rewrites = {
      {"the same", original},
      {"one digit changed", "#TYPE=Extended\nRR LYR,2460600.30000,12.301\n"},
      {"cut short", "#TYPE=Extended\n"},
      {"a line added", original + "RR LYR,2460600.30100,12.300\n"},
      {"emptied", ""},
  };
  for (const auto& [what, rewritten] : rewrites) {
    const ScratchFile file{original};
    ReportSource source{file.name()};
    std::string seen;
    ASSERT_FALSE(source.readOnce([&seen](std::string_view bytes) { seen.append(bytes); }));
    EXPECT_EQ(seen, original);
    EXPECT_FALSE(source.copied());
    file.write(rewritten);
    const ReadBack back = readLines(source.openAgain());
    EXPECT_EQ(back.fingerprint == source.firstReading(), rewritten == original) << what;
  }
}

TEST(ReportSource, SaysWhyAReportCannotBeRead) {
  ReportSource missing{::testing::TempDir() + "no-such-report.txt"};
  const auto failure = missing.readOnce([](std::string_view) {});
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->rfind("cannot read the report: ", 0), 0U) << *failure;
  ReportSource folder{::testing::TempDir()};
  EXPECT_EQ(folder.readOnce([](std::string_view) {}),
            std::optional<std::string>{"cannot read the report: it is a folder, not a file"});
}

}  // namespace
}  // namespace varistellar::report_transform
