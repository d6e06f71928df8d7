// Whether a file's first bytes are an AAVSO Extended report, a damaged one
// included, so that it is checked rather than taken for something else.
#pragma once

#include <string_view>

namespace varistellar::aeff {

// True when, among the lines before the first data row, one is a parameter
// line (#TYPE=, #OBSCODE=, #DELIM=, ...), or when comment lines are followed
// by a row of fifteen fields split at commas (or at TABs).
[[nodiscard]] bool isReportBeginning(std::string_view beginning);

}  // namespace varistellar::aeff
