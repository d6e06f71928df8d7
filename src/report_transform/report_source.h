// The report `transform` reads: once to check it, plan its rows and most
// often write them, and a second time to write them when that one pass could
// not. A report that can be read only once (a FIFO, a pipe, a device) is
// copied as it is first read into a private temporary file and read again
// from there; a report on the disk is read again where it is. The first
// reading's fingerprint is kept, for the second reading to be compared with.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "report_transform/byte_fingerprint.h"

namespace varistellar::report_transform {

class ReportSource {
 public:
  explicit ReportSource(std::string path) : path_{std::move(path)} {}
  ReportSource(const ReportSource&) = delete;
  ReportSource& operator=(const ReportSource&) = delete;
  // Closes the copy and removes it.
  ~ReportSource();

  [[nodiscard]] const std::string& path() const { return path_; }
  // Reads the whole report once, giving each piece read to `consume`; the
  // error message when it cannot be read or copied.
  [[nodiscard]] std::optional<std::string> readOnce(
      const std::function<void(std::string_view)>& consume);
  [[nodiscard]] Fingerprint firstReading() const { return first_.value(); }
  // The size of a report on the disk as it was opened, known before the
  // first piece is given to `consume`; 0 for another report.
  [[nodiscard]] std::uint64_t sizeAtOpen() const { return sizeAtOpen_; }
  // True when the report is read again from a copy.
  [[nodiscard]] bool copied() const { return copying_; }
  // A reading handle on the report (or its copy) from its start, for the
  // caller to close.
  [[nodiscard]] platform::OpenResult openAgain() const;

 private:
  [[nodiscard]] std::optional<std::string> startCopy();
  [[nodiscard]] std::optional<std::string> finishCopy();
  [[nodiscard]] std::string copyFailure(platform::SystemError error) const;

  std::string path_;
  ByteFingerprint first_;
  std::uint64_t sizeAtOpen_ = 0;
  bool copying_ = false;
  platform::Handle copy_ = platform::invalidHandle;  // open for writing while it is an unnamed file
  std::string copyName_;  // a named copy's name, removed at the end; empty for none
};

}  // namespace varistellar::report_transform
