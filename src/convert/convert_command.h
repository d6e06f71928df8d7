// `varistellar convert`: one night's report without pauses, from the
// command line.
#pragma once

#include "run/run_context.h"

namespace varistellar::convert {

// Converts the night and gives the exit status: 0 the report was written,
// 1 nothing was written (errors in the input or a failure of the system).
[[nodiscard]] int runConvertCommand(const run::ConvertOptions& options);

}  // namespace varistellar::convert
