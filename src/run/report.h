// The report stage: writes "lightcurve-aavso.txt" in the AAVSO Extended File
// Format and shows every line of it on the console.
#pragma once

#include "run/observations.h"

namespace varistellar::run {

inline constexpr int reportChannel = 15;

void writeReportFile(const ObservationTable& table, const ObserverParameters& parameters);

}  // namespace varistellar::run
