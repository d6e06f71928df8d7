// The parameter stage: loads the observer's "VARISTELLAR-input.txt".
#pragma once

#include "run/observations.h"

namespace varistellar::run {

inline constexpr int parameterChannel = 14;

// Reads and echoes the twelve lines of the parameter file, with its pauses.
// Ends the run itself when the file cannot be opened or a guarded line
// cannot be read.
[[nodiscard]] ObserverParameters readParameterFile();

}  // namespace varistellar::run
