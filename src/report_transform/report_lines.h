// The report read again, line by line, for its rows to be rewritten: LF ends
// a line, CRs are dropped, as the command line's other readers have it. A
// line of any length is read, as `check` reads it: the buffer grows to hold
// the longest line, and never holds more than one line and a read's worth.
//
//   buffer_ [0 ...... begin_ ........ searched_ ........ end_ ...... size_)
//            taken   | not yet taken: no LF before searched_ | free
//
// Every byte read is added to the fingerprint.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "report_transform/byte_fingerprint.h"

namespace varistellar::report_transform {

class ReportLines {
 public:
  static constexpr std::size_t firstBufferSize = 65536;

  // Reads from `handle`, which it closes at the end.
  explicit ReportLines(platform::Handle handle) : handle_{handle} {}
  ReportLines(const ReportLines&) = delete;
  ReportLines& operator=(const ReportLines&) = delete;
  ~ReportLines();

  // The next line into `line`, valid until the next call; false at the end
  // of the file or on a failure.
  [[nodiscard]] bool next(std::string_view& line);
  [[nodiscard]] std::uint64_t lineNumber() const { return lineNumber_; }
  // Why the reading stopped before the end; none when it did not.
  [[nodiscard]] const std::optional<std::string>& failure() const { return failure_; }
  // What was read so far: all of the file once next() has returned false
  // without a failure.
  [[nodiscard]] Fingerprint fingerprint() const { return fingerprint_.value(); }

 private:
  // Moves what is not yet taken to the front, grows the buffer when that
  // fills it, and reads more behind it. False on a failure.
  [[nodiscard]] bool fill();
  // The bytes from begin_ to `stop` without their CRs, taken.
  [[nodiscard]] std::string_view take(std::size_t stop);

  platform::Handle handle_;
  std::unique_ptr<char[]> buffer_;
  std::size_t size_ = 0;
  std::size_t begin_ = 0;
  std::size_t searched_ = 0;
  std::size_t end_ = 0;
  std::uint64_t lineNumber_ = 0;
  bool atEndOfFile_ = false;
  std::optional<std::string> failure_;
  ByteFingerprint fingerprint_;
};

}  // namespace varistellar::report_transform
