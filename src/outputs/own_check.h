// convert's check of its own report, made while the report is written: a
// thread of its own reads the report's file back as it grows and passes it
// through the rules of `check`, so that convert never puts in place a report
// that check rejects and the check costs the conversion little time. A
// report sent to a stream cannot be read back: its lines are checked as
// they are written, and a failure can only be told.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "check/report_checker.h"
#include "diagnostics/diagnostic.h"
#include "platform/platform.h"

namespace varistellar::outputs {

struct OwnCheckResult {
  diagnostics::DiagnosticList findings;  // named after the report, not its temporary file
  bool passed = true;                    // false on an error
  // The stream the report went out to as it was written; empty for a file.
  std::string streamedTo;
};

class OwnCheck {
 public:
  // Reads the file `written` was opened on (and closes it); its findings
  // name `reportFile`. The fields in `copied` of its observation lines are
  // copied byte for byte from lines a check found free of errors, and are
  // not asked the error rules again (see check::RowJudge::trustCopied).
  OwnCheck(platform::OpenResult written, std::string_view reportFile, check::FieldSet copied = 0);
  // Reads `writtenFile`, which must exist.
  OwnCheck(const std::string& writtenFile, std::string_view reportFile)
      : OwnCheck{platform::openForReading(writtenFile), reportFile} {}
  // Checks the lines handed to `line`, on the writer's thread, for a
  // report written to the stream `reportFile`.
  explicit OwnCheck(std::string_view reportFile, check::FieldSet copied = 0);
  OwnCheck(const OwnCheck&) = delete;
  OwnCheck& operator=(const OwnCheck&) = delete;
  ~OwnCheck();

  // The file's first `bytes` bytes are written and will not change.
  void written(std::uint64_t bytes);
  // A line as it is written, without its line end (written as CR LF).
  void line(std::string_view text);
  // The file is complete at `bytes`; waits for the check of all of it.
  [[nodiscard]] OwnCheckResult finish(std::uint64_t bytes);

 private:
  // Reads and checks what has been written; to the end once it is complete.
  void checkWritten();
  void checkUntilComplete();
  // Ends the checking side at `bytes`; without a second thread the file is
  // then read here, when `checkRest`. Closes the file either way.
  void stop(std::uint64_t bytes, bool checkRest);
  void closeFile();

  std::string reportFile_;
  check::ReportChecker checker_;
  platform::OpenResult file_;
  std::unique_ptr<char[]> buffer_;
  std::uint64_t checked_ = 0;  // bytes read and checked, by the checking side
  // What the writer has made known, and a count raised each time it does.
  std::atomic<std::uint64_t> written_{0};
  std::atomic<bool> complete_{false};
  platform::Semaphore news_{0};
  platform::WorkerThread worker_;
  bool concurrent_ = false;  // false: the whole file is checked at the end, on this thread
  bool streamed_ = false;    // handed its lines, with no file to read
  bool stopped_ = false;
  // Set by the checking side, read once it has ended.
  std::string readFailure_;
  bool outOfMemory_ = false;
};

// Prints what the check found: its errors and why nothing was written (or,
// for a stream, that what went out is defective) when it failed; else its
// warnings. It looks for no notes: those are check's to print, and on the
// program's own report they speak of the program's choices, not of a problem.
// `command` names the command whose defect a failed check would be.
void printOwnCheck(const OwnCheckResult& check, std::string_view command = "convert");

}  // namespace varistellar::outputs
