// The scanner gives the same lines however the bytes are cut into chunks.
#include "check/line_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varistellar::check {
namespace {

std::string describe(const ScannedLine& l) {
  std::string s = std::to_string(l.number) + ":" + std::string{l.kept} + "|" +
                  std::to_string(l.length) + "|" + std::to_string(static_cast<int>(l.end)) + "|" +
                  std::to_string(l.fieldCount) + "|" + std::to_string(l.badColumn) +
                  (l.bareCr ? "|cr" : "") + (l.allBlank ? "|blank" : "");
  for (std::size_t i = 0; i < l.fieldCount && i < ScannedLine::keptFields; ++i) {
    s += " " + std::to_string(l.fields[i].start) + "+" + std::to_string(l.fields[i].length) + "/" +
         std::to_string(l.fields[i].leading) + "/" + std::to_string(l.fields[i].trailing);
  }
  return s;
}

std::vector<std::string> scan(const std::string& bytes, std::size_t chunk) {
  std::vector<std::string> lines;
  LineScanner scanner{[&lines](const ScannedLine& l) { lines.push_back(describe(l)); }};
  for (std::size_t at = 0; at < bytes.size(); at += chunk)
    scanner.feed(std::string_view{bytes}.substr(at, chunk));
  scanner.finish();
  return lines;
}

TEST(LineScanner, SplitsLinesAndFields) {
  EXPECT_EQ(scan("a, b ,\r\n#x,y\n\nz\rq", 1000),
            (std::vector<std::string>{"1:a, b ,|6|1|3|0 0+1/0/0 2+3/1/1 6+0/0/0", "2:#x,y|4|0|0|0",
                                      "3:|0|0|0|0|blank", "4:z\rq|3|2|1|0|cr 0+3/0/0"}));
}

TEST(LineScanner, ChunkSizesDoNotMatter) {
  const std::string bytes = "\xEF\xBB\xBF#T\r\n a\t,\xC3\xA9,,x\r\r\n\r\n \t \nlast";
  const auto whole = scan(bytes, bytes.size());
  for (std::size_t chunk = 1; chunk < 8; ++chunk) EXPECT_EQ(scan(bytes, chunk), whole) << chunk;
  EXPECT_EQ(whole[1], "2: a\t,\xC3\xA9,,x\r|10|1|4|3|cr 0+3/1/1 4+2/0/0 7+0/0/0 8+2/0/0");
}

}  // namespace
}  // namespace varistellar::check
