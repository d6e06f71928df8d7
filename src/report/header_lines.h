// The report's seven header lines.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "report/report_kinds.h"

namespace varistellar::report {

// The header lines without line ends: in the interactive form the legacy
// program's (a 4-character observer code, no version), in the command line's
// the whole code and the program's version. `program` measured the night:
// #SOFTWARE=PROGRAM (via VARISTELLAR X.Y.Z).
[[nodiscard]] std::array<std::string, 7> reportHeaderLines(std::string_view observerCode,
                                                           ReportForm form, DateKind date,
                                                           std::string_view program);

}  // namespace varistellar::report
