// The parameter stage of the interactive run: loads the observer's
// "VARISTELLAR-input.txt".
#pragma once

#include "run/dialogue.h"
#include "run/observations.h"
#include "run/run_context.h"

namespace varistellar::run {

inline constexpr int parameterChannel = 14;

enum class ParameterOutcome {
  ok,
  openFailed,      // the file cannot be opened
  lineReadFailed,  // a guarded line cannot be read
};

// Reads the twelve lines of the parameter file into `parameters`, each text
// at its fixed width, telling the dialogue what it read. A failed unguarded
// line ends the process with the unhandled-failure report.
[[nodiscard]] ParameterOutcome readParameterFile(const RunContext& context,
                                                 ObserverParameters& parameters,
                                                 Dialogue& dialogue);

}  // namespace varistellar::run
