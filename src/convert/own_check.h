// convert's check of its own report, made while the report is written: the
// report's bytes, as the writer is given them, go through the rules of
// `check` on a thread of their own, so that convert never puts in place a
// report that check rejects and the check costs the conversion little time.
#pragma once

#include <array>
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
  explicit OwnCheck(std::string_view reportFile);
  OwnCheck(const OwnCheck&) = delete;
  OwnCheck& operator=(const OwnCheck&) = delete;
  ~OwnCheck();

  // One line of the report, which the file receives ended with CR LF.
  void takeLine(std::string_view line);
  // Ends the report and waits for its check.
  [[nodiscard]] OwnCheckResult finish();

 private:
  // The report's bytes travel to the checking thread in blocks that take
  // turns: the writer fills one while the checker reads the others. The ring
  // is larger than a core's own cache, so that the writer seldom refills a
  // block whose bytes the checker's core still holds (each such byte would
  // first be fetched back from it); 1 MiB in all keeps convert's memory
  // flat.
  static constexpr std::size_t blockCount = 16;
  static constexpr std::size_t blockSize = std::size_t{64} * 1024;
  struct Block {
    std::unique_ptr<char[]> bytes{new char[blockSize]};
    std::size_t fill = 0;
    bool last = false;
  };

  void take(std::string_view bytes);
  void handOver(bool last);
  void checkBlocks();
  void feed(Block& block);

  std::string reportFile_;
  check::ReportChecker checker_;
  std::array<Block, blockCount> blocks_;
  std::size_t filling_ = 0;  // the block the writer fills
  platform::Semaphore filled_{0};
  platform::Semaphore free_{blockCount - 1};
  platform::WorkerThread worker_;
  bool concurrent_ = false;  // false: each block is checked on the writer's thread
  bool outOfMemory_ = false;  // set by the checking thread, read after it has ended
  bool finished_ = false;
};

// Prints what the check found: its errors and why nothing was written when it
// failed; else its warnings, and its notes unless `quiet`.
void printOwnCheck(const OwnCheckResult& check, bool quiet);

}  // namespace varistellar::convert
