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

// Writes a new file line by line, each line ended with CR LF, through one
// buffer. A failure is kept and every later write does nothing.
class LineWriter {
 public:
  enum class Mode {
    createNew,  // the file must not exist yet (a temporary file)
    existing,   // an existing device or file, written from its start
  };
  LineWriter(const std::string& name, Mode mode);
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;
  ~LineWriter();

  [[nodiscard]] bool opened() const { return file_.channel != nullptr; }
  void write(std::string_view line);
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
};

}  // namespace varistellar::textio
