// The report stage of the interactive run: writes "lightcurve-aavso.txt" in
// the AAVSO Extended File Format and shows every line of it.
#pragma once

#include "run/dialogue.h"
#include "run/observations.h"
#include "run/run_context.h"

namespace varistellar::run {

inline constexpr int reportChannel = 15;

// A report that cannot be opened or written ends the process with the
// unhandled-failure report.
void writeReportFile(const RunContext& context, const ObservationTable& table,
                     const ObserverParameters& parameters, Dialogue& dialogue);

}  // namespace varistellar::run
