// `varistellar convert`: a night's report without pauses, from the command
// line; a night of several filters, one FOLDER each, in one report.
#pragma once

#include "convert/convert_options.h"

namespace varistellar::convert {

// The exit status when the report was put in place but the picture could
// not be.
inline constexpr int partlyWrittenStatus = 3;

// Converts the night and gives the exit status: 0 the report was written,
// 1 nothing was written (errors in the input or a failure of the system),
// `partlyWrittenStatus` the report was written and the picture was not.
[[nodiscard]] int runConvertCommand(const ConvertOptions& options);

}  // namespace varistellar::convert
