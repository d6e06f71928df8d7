// The interactive run: one straight sequence of stages from the banner to
// the end of the run.
#pragma once

#include "run/observations.h"

namespace varistellar::run {

// The standard magnitude: V-C plus the comparison star's catalogue magnitude
// as read, one double addition rounded once.
[[nodiscard]] inline double standardMagnitude(double V_C, double comparisonMagnitude) {
  return V_C + comparisonMagnitude;
}

// STD for every kept observation.
void computeStandardMagnitudes(ObservationTable& table, double comparisonMagnitude);

// The whole interactive conversion in the current folder, from the banner to
// the end of the run.
[[noreturn]] void runConversion();

}  // namespace varistellar::run
