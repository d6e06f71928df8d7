// The light-curve stage: loads "lightcurve.txt" into the observation table.
#pragma once

#include "run/observations.h"

namespace varistellar::run {

inline constexpr int lightCurveChannel = 13;

// Reads the table's two header lines and every observation, keeps those whose
// V-C is not above 90, and shows the count. Ends the run itself on a handled
// failure (the file cannot be opened, a header line cannot be read, or more
// observations than the table holds).
void readLightCurveTable(ObservationTable& table);

}  // namespace varistellar::run
