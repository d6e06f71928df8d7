// The files a command writes, in the order they are put in place: every one
// is finished before any is committed, so that a full disk leaves every old
// file as it was; a command adds an output here and loops over the list.
#pragma once

#include <vector>

#include "diagnostics/diagnostic.h"
#include "outputs/file_output.h"

namespace varistellar::outputs {

// How many of the outputs were put in place.
enum class Committed { all, none, some };

class OutputList {
 public:
  void add(FileOutput& output) { outputs_.push_back(&output); }
  void removeStaleTemporaries(bool quiet) const;
  // Finishes each output in order, up to the first that fails.
  Phase finish(diagnostics::DiagnosticSink& findings);
  // Checks each finished output, up to the first that may not be put in place.
  Phase check();
  // Puts each output in place in order, up to the first that fails; its
  // failure names those already in place.
  Committed commit(diagnostics::DiagnosticSink& findings);

 private:
  std::vector<FileOutput*> outputs_;
};

}  // namespace varistellar::outputs
