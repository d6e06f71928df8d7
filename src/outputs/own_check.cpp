// The report read back behind its writer, on a thread of its own.
#include "outputs/own_check.h"

#include <algorithm>
#include <new>
#include <string>

#include "console/console.h"

namespace varistellar::outputs {

using diagnostics::Severity;

namespace {
constexpr std::size_t readSize = std::size_t{64} * 1024;
// Notes on the program's own report speak of its choices, and are not
// printed: the check does not look for them.
constexpr Severity wanted = Severity::warning;
}  // namespace

OwnCheck::OwnCheck(platform::OpenResult written, std::string_view reportFile,
                   check::FieldSet copied)
    : reportFile_{reportFile},
      checker_{reportFile, platform::secondsSinceEpoch(), wanted},
      file_{written},
      buffer_{new char[readSize]} {
  checker_.trustCopied(copied);
  if (file_.error != 0) {
    readFailure_ = platform::systemErrorMessage(file_.error);
    return;
  }
  // Without a second thread the same reading runs at the end, on this one.
  // The check is shallow work: a small stack keeps the thread's memory small.
  constexpr std::size_t stackBytes = std::size_t{512} << 10;
  concurrent_ = news_.usable() && worker_.start([this] { checkUntilComplete(); }, stackBytes);
}

OwnCheck::OwnCheck(std::string_view reportFile, check::FieldSet copied)
    : reportFile_{reportFile},
      checker_{reportFile, platform::secondsSinceEpoch(), wanted},
      streamed_{true} {
  checker_.trustCopied(copied);
}

void OwnCheck::line(std::string_view text) {
  // Out of memory, the check stops; it then fails.
  if (outOfMemory_) return;
  try {
    checker_.feed(text);
    checker_.feed("\r\n");
  } catch (const std::bad_alloc&) {
    outOfMemory_ = true;
  }
}

OwnCheck::~OwnCheck() {
  // Nothing is reported any more, so nothing more is read.
  stop(written_.load(), false);
}

void OwnCheck::closeFile() {
  if (file_.handle != platform::invalidHandle) {
    (void)platform::closeFile(file_.handle);
    file_.handle = platform::invalidHandle;
  }
}

void OwnCheck::written(std::uint64_t bytes) {
  written_.store(bytes, std::memory_order_release);
  if (concurrent_) news_.release();
}

void OwnCheck::stop(std::uint64_t bytes, bool checkRest) {
  if (stopped_) return;
  stopped_ = true;
  written_.store(bytes, std::memory_order_release);
  complete_.store(true, std::memory_order_release);
  if (concurrent_) {
    news_.release();
    worker_.join();
  } else if (checkRest && file_.error == 0 && !streamed_) {
    checkWritten();
  }
  // Closed before the report is renamed: Windows renames no file that is open.
  closeFile();
}

void OwnCheck::checkUntilComplete() {
  for (;;) {
    news_.acquire();
    // Read before the bytes: once complete, the last count is the whole file.
    const bool complete = complete_.load(std::memory_order_acquire);
    checkWritten();
    if (complete) return;
  }
}

void OwnCheck::checkWritten() {
  const std::uint64_t target = written_.load(std::memory_order_acquire);
  while (checked_ < target && readFailure_.empty()) {
    const std::size_t size =
        static_cast<std::size_t>(std::min<std::uint64_t>(readSize, target - checked_));
    const platform::TransferResult read = platform::readSome(file_.handle, {buffer_.get(), size});
    if (read.error != 0) {
      readFailure_ = platform::systemErrorMessage(read.error);
    } else if (read.bytes == 0) {
      readFailure_ = "the file is shorter than what was written to it";
    }
    if (!readFailure_.empty()) return;
    checked_ += read.bytes;
    // Out of memory, the check stops; it then fails.
    if (outOfMemory_) continue;
    try {
      checker_.feed({buffer_.get(), read.bytes});
    } catch (const std::bad_alloc&) {
      outOfMemory_ = true;
    }
  }
}

OwnCheckResult OwnCheck::finish(std::uint64_t bytes) {
  OwnCheckResult result;
  stop(bytes, true);
  if (!readFailure_.empty()) {
    result.findings.error(reportFile_, 0, 0,
                          "cannot read the report back to check it: " + readFailure_);
  } else if (outOfMemory_) {
    result.findings.error(reportFile_, 0, 0, "out of memory while checking the report");
  } else if (streamed_) {
    diagnostics::DiagnosticList all;
    (void)checker_.finish(all);
    // A stream has no file name for the upload to judge.
    for (const diagnostics::Diagnostic& d : all.all()) {
      if (d.ruleId != "F3") result.findings.add(d);
    }
  } else {
    (void)checker_.finish(result.findings);
  }
  result.passed = !result.findings.hasErrors();
  if (streamed_) result.streamedTo = reportFile_;
  return result;
}

void printOwnCheck(const OwnCheckResult& check, std::string_view command) {
  for (const diagnostics::Diagnostic& d : check.findings.all()) {
    if (check.passed ? d.severity == Severity::error : d.severity != Severity::error) continue;
    console::printErrorLine(diagnostics::formatDiagnostic(d));
  }
  if (check.passed) return;
  if (!check.streamedTo.empty()) {
    // What went out cannot be called back; the user must not submit it.
    console::printErrorLine("varistellar: the report written to " + check.streamedTo +
                            " failed its own check, which is a defect of " + std::string{command} +
                            "; do not submit it");
  } else {
    console::printErrorLine("varistellar: the report failed its own check, which is a defect of " +
                            std::string{command} + "; nothing was written");
  }
}

}  // namespace varistellar::outputs
