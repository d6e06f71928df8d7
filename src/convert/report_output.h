// Where `convert` writes its report: a temporary file beside the report,
// renamed over it only when the whole report stands, so that a failure at
// any point leaves the old report or the new one and never a mix.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "convert/own_check.h"
#include "textio/line_files.h"

namespace varistellar::convert {

class ReportOutput {
 public:
  explicit ReportOutput(std::string reportFile);
  ReportOutput(const ReportOutput&) = delete;
  ReportOutput& operator=(const ReportOutput&) = delete;
  // Removes the temporary file of a report that was not committed.
  ~ReportOutput();

  // Opens the temporary file (or, for a device such as /dev/stdout, the
  // device itself); the reason it cannot be opened when false.
  [[nodiscard]] std::optional<std::string> open();
  void write(std::string_view line) {
    writer_->write(line);
    if (check_ != nullptr && writer_->bytesWritten() != announced_) {
      announced_ = writer_->bytesWritten();
      check_->written(announced_);
    }
  }
  // Tells `check` how far the file is written, from now on.
  void checkWith(OwnCheck* check) { check_ = check; }
  // Bytes in the file so far; all of them once writing is finished.
  [[nodiscard]] std::uint64_t bytesWritten() const { return writer_->bytesWritten(); }
  // Writes the file out and closes it; the reason when that fails.
  [[nodiscard]] std::optional<std::string> finishWriting();
  // Writes the file out (unless done) and puts it in the report's place;
  // the reason when that fails.
  [[nodiscard]] std::optional<std::string> commit();
  // True when the report is written straight to a device, with no
  // temporary file that could be read back.
  [[nodiscard]] bool inPlace() const { return temporaryFile_.empty(); }
  // The file that holds the report until it is committed.
  [[nodiscard]] const std::string& writtenFile() const;

 private:
  std::string reportFile_;
  std::string temporaryFile_;  // empty when the report is written in place
  std::unique_ptr<textio::LineWriter> writer_;
  OwnCheck* check_ = nullptr;
  std::uint64_t announced_ = 0;  // bytes last made known to `check_`
  bool committed_ = false;
};

}  // namespace varistellar::convert
