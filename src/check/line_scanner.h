// Splits a byte stream into lines and, outside '#' lines, into fields at the
// delimiter, in one pass over chunks of any size. A line keeps at most
// `keptBytes` of its text; its length, its fields' lengths and edge blanks and
// its first byte that is not printable ASCII are counted over the whole line,
// so that a line of any length is judged without being stored.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace varistellar::check {

enum class LineEnd : std::uint8_t { lf, crlf, none };

struct FieldSpan {
  std::uint64_t start = 0;     // offset in the line
  std::uint64_t length = 0;    // bytes, whole
  std::uint64_t leading = 0;   // blanks at its start
  std::uint64_t trailing = 0;  // blanks at its end (all of them for a blank field)
};

struct ScannedLine {
  static constexpr std::size_t keptFields = 16;
  std::uint64_t number = 0;  // from 1
  std::string_view kept;     // the line's first bytes, without its line end
  std::uint64_t length = 0;  // the whole line's bytes, without its line end
  LineEnd end = LineEnd::lf;
  bool bareCr = false;          // a CR not followed by LF, kept as a byte of the line
  std::uint64_t badColumn = 0;  // column of the first byte that is not allowed; 0 none
  unsigned char badByte = 0;
  std::uint64_t fieldCount = 0;  // lines not starting with '#'
  std::array<FieldSpan, keptFields> fields{};
  bool allBlank = true;

  [[nodiscard]] bool whole() const { return kept.size() == length; }
};

class LineScanner {
 public:
  static constexpr std::size_t keptBytes = std::size_t{64} * 1024;
  using LineHandler = std::function<void(const ScannedLine&)>;

  explicit LineScanner(LineHandler handler);

  // The delimiter of the lines from the next one on; TAB is allowed only then.
  void setDelimiter(char delimiter) { delimiter_ = delimiter; }
  void feed(std::string_view bytes);
  // Ends the last line, if it has no line end.
  void finish();

  [[nodiscard]] bool byteOrderMark() const { return bom_ == 3; }
  [[nodiscard]] std::uint64_t lines() const { return line_.number; }

 private:
  void startByte(unsigned char u);
  void wholeLine(std::string_view text);
  void noteOddBytes(std::string_view text);
  void spanFields(std::string_view text, const std::size_t* stops, std::size_t delimiters);
  void byte(unsigned char c);
  void lineByte(unsigned char c);
  void endLine(LineEnd end);
  void startLine();

  LineHandler handler_;
  char delimiter_ = ',';
  std::vector<char> kept_;
  ScannedLine line_{};
  bool pendingCr_ = false;
  bool hashLine_ = false;
  bool started_ = false;  // some byte of the current line was seen
  int bom_ = 0;           // bytes of EF BB BF matched at the start; 3 when found; -1 when not
};

}  // namespace varistellar::check
