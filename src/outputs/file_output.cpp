#include "outputs/file_output.h"

#include "console/console.h"
#include "outputs/temporary_files.h"

namespace varistellar::outputs {

FileOutput::FileOutput(std::string file, std::string_view what)
    : file_{std::move(file)}, what_{what} {}

void FileOutput::removeStaleTemporaries(bool quiet) const {
  const StaleTemporaries found = outputs::removeStaleTemporaries(file_);
  if (quiet) return;
  for (const std::string& removed : found.removed) {
    console::printErrorLine(removedTemporaryNote(removed));
  }
  for (const std::string& left : found.left) console::printErrorLine(leftTemporaryNote(left));
}

Phase FileOutput::open(diagnostics::DiagnosticSink& findings) {
  if (const auto failure = output_.open()) return cannotWrite(findings, *failure);
  return Phase::done;
}

Phase FileOutput::finish(diagnostics::DiagnosticSink& findings) {
  if (const auto failure = output_.finishWriting()) return cannotWrite(findings, *failure);
  return Phase::done;
}

Phase FileOutput::commit(diagnostics::DiagnosticSink& findings, std::string_view inPlace) {
  if (const auto failure = output_.commit()) {
    if (inPlace.empty()) return cannotWrite(findings, *failure);
    // The user is told which file is new and which is not.
    return cannotWrite(findings, *failure + "; " + std::string{inPlace} + ", the " +
                                     std::string{what_} + " was not");
  }
  committed_ = true;
  return Phase::done;
}

// cppcheck-suppress constParameter ; a sink is written to, whatever its error() is declared
Phase FileOutput::cannotWrite(diagnostics::DiagnosticSink& findings,
                              const std::string& failure) const {
  findings.error(file_, 0, 0, "cannot write the " + std::string{what_} + ": " + failure);
  return Phase::failed;
}

}  // namespace varistellar::outputs
