// Files written a line at a time, with every failure given back as a value:
// the command line's channels, which never end the process (the line reader
// is textio/line_reader.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "textio/channels.h"

namespace varistellar::textio {

// A failure's text as the user reads it: the program's own message or the
// system's.
[[nodiscard]] std::string describeFailure(const Failure& failure);

// A file channel's buffer and channel over an opened handle.
struct LineChannel {
  std::unique_ptr<char[]> buffer;
  std::unique_ptr<Channel> channel;
  platform::Handle handle = platform::invalidHandle;
};

// Writes a file line by line, each line ended with CR LF, through one
// buffer. A failure is kept and every later write does nothing.
class LineWriter {
 public:
  // Takes a file the caller opened (or the failure to open it). With
  // `cutToWritten`, a file that was longer keeps only what is written.
  LineWriter(const platform::OpenResult& opened, bool cutToWritten);
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;
  ~LineWriter();

  [[nodiscard]] bool opened() const { return file_.channel != nullptr; }
  void write(std::string_view line);
  // Writes out the buffer and makes the file durable; it stays open.
  void flushToDisk();
  // The open file's handle, while it is open.
  [[nodiscard]] platform::Handle handle() const { return file_.handle; }
  // Writes out the buffer, makes the file durable and closes it.
  void finish();
  [[nodiscard]] const Failure& failure() const { return failure_; }
  // Bytes handed to the system so far; a line may wait in the buffer.
  [[nodiscard]] std::uint64_t bytesWritten() const {
    return file_.channel ? file_.channel->bytesWritten() : finalBytes_;
  }

 private:
  LineChannel file_;
  Failure failure_{};
  std::uint64_t finalBytes_ = 0;  // the count when the file was closed
  bool durable_ = false;          // nothing written since the last flushToDisk
  static constexpr std::uint64_t writeOutStep = std::uint64_t{8} << 20;
  std::uint64_t writtenOut_ = 0;  // bytes written when their writing out was last asked
};

}  // namespace varistellar::textio
