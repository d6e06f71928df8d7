// The light-curve stage of the interactive run: loads "lightcurve.txt" into
// the observation table.
#pragma once

#include "run/dialogue.h"
#include "run/observations.h"
#include "run/run_context.h"

namespace varistellar::run {

inline constexpr int lightCurveChannel = 13;

enum class LightCurveOutcome {
  ok,
  openFailed,        // the table cannot be opened
  headerReadFailed,  // a header line cannot be read
  outOfMemory,       // the sink could not take an observation
};

// Reads the table's two header lines and every observation by the free-form
// rules, hands each one whose V-C is not above 90 to `sink`, shows the count
// and closes the table. A malformed observation ends the process with the
// unhandled-failure report.
[[nodiscard]] LightCurveOutcome readLightCurveTable(const RunContext& context,
                                                    ObservationSink& sink, Dialogue& dialogue);

}  // namespace varistellar::run
