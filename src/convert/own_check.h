// convert's check of its own report, made while the report is written: a
// thread of its own reads the report's file back as it grows and passes it
// through the rules of `check`, so that convert never puts in place a report
// that check rejects and the check costs the conversion little time.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "check/report_checker.h"
#include "diagnostics/diagnostic.h"
#include "platform/platform.h"

namespace varistellar::convert {

struct OwnCheckResult {
  diagnostics::DiagnosticList findings;  // named after the report, not its temporary file
  bool passed = true;                    // false on an error
};

class OwnCheck {
 public:
  // Reads the file `written` was opened on (and closes it); its findings
  // name `reportFile`.
  OwnCheck(platform::OpenResult written, std::string_view reportFile);
  // Reads `writtenFile`, which must exist.
  OwnCheck(const std::string& writtenFile, std::string_view reportFile)
      : OwnCheck{platform::openForReading(writtenFile), reportFile} {}
  OwnCheck(const OwnCheck&) = delete;
  OwnCheck& operator=(const OwnCheck&) = delete;
  ~OwnCheck();

  // The file's first `bytes` bytes are written and will not change.
  void written(std::uint64_t bytes);
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
  bool stopped_ = false;
  // Set by the checking side, read once it has ended.
  std::string readFailure_;
  bool outOfMemory_ = false;
};

// Prints what the check found: its errors and why nothing was written when it
// failed; else its warnings, and its notes unless `quiet`.
// `command` names the command whose defect a failed check would be.
void printOwnCheck(const OwnCheckResult& check, bool quiet, std::string_view command = "convert");

}  // namespace varistellar::convert
