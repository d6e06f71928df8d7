// The command line's reading of a text file a line at a time, through one
// fixed buffer, so that memory stays the same whatever the file holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "textio/channels.h"

namespace varistellar::textio {

// Reads an existing file (never creating one) line by line: LF ends a line,
// CR is dropped, a TAB stays a TAB. Lines are counted from 1. A line is never
// copied out of the buffer, so a line longer than maxLineLength bytes ends the
// reading: no file the strict readers know holds one, and keeping it whole
// would take memory without bound (a file with no line end at all).
//
//   buffer_ [0 ........ begin_ ............ end_ ........ bufferSize)
//            taken     | not yet taken    | free
//
// What is not yet taken is moved to the front before the next read, and is
// then never more than maxLineLength bytes: there is always room to read.
class LineReader {
 public:
  static constexpr std::size_t maxLineLength = 4096;
  static constexpr std::size_t bufferSize = 65536;

  // Opens `name`; failure() tells why it could not be. A table whose rows
  // run to many kilobytes is read with a longer `longestLine` (and a buffer
  // to match, still one per file).
  explicit LineReader(const std::string& name, std::size_t longestLine = maxLineLength);
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;
  ~LineReader();

  [[nodiscard]] bool opened() const { return handle_ != platform::invalidHandle; }
  // The file's first bytes, read before its first line: a buffer's worth, or
  // fewer when the file is shorter (or a pipe gives fewer at once). Enough to
  // tell what kind of file it is. Empty for an empty file or on a failure.
  [[nodiscard]] std::string_view beginning();
  // The next line into `line`, valid until the next call; false at the end of
  // the file, on a failure, or at a line longer than maxLineLength.
  [[nodiscard]] bool next(std::string_view& line);
  [[nodiscard]] std::uint64_t lineNumber() const { return lineNumber_; }
  // True when the reading stopped at line lineNumber() + 1, which is longer
  // than the longest line taken.
  [[nodiscard]] bool stoppedAtLongLine() const { return longLine_; }
  // Why the file could not be opened or read; nothing happened when none.
  [[nodiscard]] const Failure& failure() const { return failure_; }

 private:
  // Moves what is not yet taken to the front and reads more behind it.
  // False on a failure.
  [[nodiscard]] bool fill();
  // The bytes from begin_ to `stop` without their CRs, taken.
  [[nodiscard]] std::string_view take(std::size_t stop);

  platform::Handle handle_ = platform::invalidHandle;
  std::size_t longestLine_ = maxLineLength;
  std::size_t bufferSize_ = bufferSize;
  std::unique_ptr<char[]> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  std::uint64_t lineNumber_ = 0;
  bool started_ = false;  // the first read was made
  bool atEndOfFile_ = false;
  bool longLine_ = false;
  Failure failure_{};
};

}  // namespace varistellar::textio
