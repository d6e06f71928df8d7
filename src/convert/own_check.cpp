// The report's blocks handed from the writer to the checking thread.
#include "convert/own_check.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "cli/console.h"

namespace varistellar::convert {

using diagnostics::Severity;

OwnCheck::OwnCheck(std::string_view reportFile)
    : reportFile_{reportFile}, checker_{reportFile, platform::secondsSinceEpoch()} {
  // Without a second thread the same check runs block by block on this one.
  concurrent_ = filled_.usable() && free_.usable() && worker_.start([this] { checkBlocks(); });
}

OwnCheck::~OwnCheck() {
  // Ends the checking thread; nothing is reported.
  if (finished_) return;
  finished_ = true;
  handOver(true);
  worker_.join();
}

void OwnCheck::takeLine(std::string_view line) {
  take(line);
  take("\r\n");
}

void OwnCheck::take(std::string_view bytes) {
  while (!bytes.empty()) {
    Block& block = blocks_[filling_];
    const std::size_t room = std::min(bytes.size(), blockSize - block.fill);
    std::memcpy(block.bytes.get() + block.fill, bytes.data(), room);
    block.fill += room;
    bytes.remove_prefix(room);
    if (block.fill == blockSize) handOver(false);
  }
}

void OwnCheck::handOver(bool last) {
  Block& block = blocks_[filling_];
  block.last = last;
  if (!concurrent_) {
    feed(block);
    return;
  }
  filled_.release();
  filling_ = (filling_ + 1) % blockCount;
  // Waits while the checker still reads every other block.
  if (!last) free_.acquire();
}

void OwnCheck::checkBlocks() {
  for (std::size_t reading = 0;; reading = (reading + 1) % blockCount) {
    filled_.acquire();
    Block& block = blocks_[reading];
    feed(block);
    if (block.last) return;
    free_.release();
  }
}

void OwnCheck::feed(Block& block) {
  // Out of memory, the check stops but the blocks still go round, so that
  // the writer is never left waiting; the check then fails.
  if (!outOfMemory_) {
    try {
      checker_.feed({block.bytes.get(), block.fill});
    } catch (const std::bad_alloc&) {
      outOfMemory_ = true;
    }
  }
  block.fill = 0;
}

OwnCheckResult OwnCheck::finish() {
  OwnCheckResult result;
  if (finished_) return result;
  finished_ = true;
  handOver(true);
  worker_.join();
  if (outOfMemory_) {
    result.findings.error(reportFile_, 0, 0, "out of memory while checking the report");
  } else {
    (void)checker_.finish(result.findings);
  }
  result.passed = !result.findings.hasErrors();
  return result;
}

void printOwnCheck(const OwnCheckResult& check, bool quiet) {
  for (const diagnostics::Diagnostic& d : check.findings.all()) {
    // The count of observation lines is the summary's own.
    if (d.ruleId == "F10") continue;
    if (check.passed && (d.severity == Severity::error || (quiet && d.severity == Severity::note)))
      continue;
    if (!check.passed && d.severity != Severity::error) continue;
    cli::printErrorLine(diagnostics::formatDiagnostic(d));
  }
  if (!check.passed) {
    cli::printErrorLine(
        "varistellar: the report failed its own check, which is a defect of convert; nothing was "
        "written");
  }
}

}  // namespace varistellar::convert
