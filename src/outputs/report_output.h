// Where `convert` writes an output (the report, the picture). A file is
// written apart from its name, given its name only when complete: on Linux
// as an unnamed file, elsewhere as a temporary file beside it; a failure at
// any point leaves the old file or the new one, never a mix, and a run
// stopped from outside leaves no temporary file. A stream (a device, a FIFO,
// standard output) is written as it goes.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "outputs/own_check.h"
#include "platform/platform.h"
#include "textio/line_files.h"

namespace varistellar::outputs {

class ReportOutput {
 public:
  explicit ReportOutput(std::string file);
  ReportOutput(const ReportOutput&) = delete;
  ReportOutput& operator=(const ReportOutput&) = delete;
  // Removes the temporary file of an output that was not committed.
  ~ReportOutput();

  // Opens where the output is written until it is complete; the reason it
  // cannot be when it fails.
  [[nodiscard]] std::optional<std::string> open();
  void write(std::string_view line) {
    writer_->write(line);
    if (check_ != nullptr && stream_) {
      check_->line(line);
    } else if (check_ != nullptr && writer_->bytesWritten() != announced_) {
      announced_ = writer_->bytesWritten();
      check_->written(announced_);
    }
  }
  // A reading handle on what is written, for the output's own check.
  [[nodiscard]] platform::OpenResult openForChecking() const;
  // Tells `check` how far the file is written, from now on; a stream hands
  // it each line as it is written.
  void checkWith(OwnCheck* check) { check_ = check; }
  // Bytes in the file so far; all of them once writing is finished.
  [[nodiscard]] std::uint64_t bytesWritten() const { return writer_->bytesWritten(); }
  // Writes the output out and makes it durable, still without its name
  // where it was written as an unnamed file; the reason when that fails.
  [[nodiscard]] std::optional<std::string> finishWriting();
  // Names the finished output beside its place, at the last moment, and
  // puts it there; the reason when that fails.
  [[nodiscard]] std::optional<std::string> commit();
  // True when the output is a stream, written as it goes: nothing is held
  // back, and nothing can be read back (its check is handed the lines).
  [[nodiscard]] bool isStream() const { return stream_; }
  // Sends what a stream's buffer holds, as its closing would anyway, so
  // that a failure can tell truthfully whether any of the report went out.
  void sendBuffered() {
    if (stream_ && writer_) writer_->flushToDisk();
  }

 private:
  [[nodiscard]] std::optional<std::string> openTemporary();
  [[nodiscard]] std::optional<std::string> nameTemporary();
  [[nodiscard]] std::optional<std::string> closeWriter();

  std::string file_;
  std::string temporaryFile_;  // the temporary name, once the file has one
  std::unique_ptr<textio::LineWriter> writer_;
  OwnCheck* check_ = nullptr;
  std::uint64_t announced_ = 0;  // bytes last made known to `check_`
  bool stream_ = false;
  bool unnamed_ = false;  // written as a file without a name until finished
  bool finished_ = false;
  bool committed_ = false;
};

}  // namespace varistellar::outputs
