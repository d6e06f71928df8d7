#include "outputs/output_list.h"

#include <string>

#include "diagnostics/quoted.h"

namespace varistellar::outputs {

void OutputList::removeStaleTemporaries(bool quiet) const {
  for (const FileOutput* output : outputs_) output->removeStaleTemporaries(quiet);
}

Phase OutputList::finish(diagnostics::DiagnosticSink& findings) {
  for (FileOutput* output : outputs_) {
    // cppcheck-suppress useStlAlgorithm ; each output finishes in turn, the first failure stops
    if (output->finish(findings) == Phase::failed) return Phase::failed;
  }
  return Phase::done;
}

Phase OutputList::check() {
  for (FileOutput* output : outputs_) {
    // cppcheck-suppress useStlAlgorithm ; each output is checked in turn, the first failure stops
    if (output->check() == Phase::failed) return Phase::failed;
  }
  return Phase::done;
}

Committed OutputList::commit(diagnostics::DiagnosticSink& findings) {
  std::string inPlace;  // "the report NAME", "... and the picture NAME"
  std::size_t committed = 0;
  for (FileOutput* output : outputs_) {
    const std::string told = inPlace + (committed > 1 ? " were written" : " was written");
    if (output->commit(findings, committed == 0 ? std::string{} : told) == Phase::failed) {
      return committed == 0 ? Committed::none : Committed::some;
    }
    inPlace += (committed++ == 0 ? "the " : " and the ") + std::string{output->what()} + " " +
               diagnostics::shownName(output->file());
  }
  return Committed::all;
}

}  // namespace varistellar::outputs
