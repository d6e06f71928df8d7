// Fuzzes the interactive light-curve stage over whole "lightcurve.txt" contents.
#include <cmath>

#include "run/light_curve.h"
#include "stage_harness.h"
#include "textio/channels.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  stage_harness::prepare();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace varistellar::run;
  stage_harness::writeInput("lightcurve.txt", data, size);
  ObservationTable table;
  Dialogue silent;
  try {
    // The handled failures come back as outcomes.
    (void)readLightCurveTable(RunContext{}, table, silent);
  } catch (const RunEnded&) {
    // An unhandled failure: the record runtime ended the run with its report.
  }
  for (std::size_t i = 0; i < table.n(); ++i) {
    stage_harness::check(!(table.V_C(i) > 90.0), "no kept observation has V-C above 90");
  }
  varistellar::textio::closeChannel(lightCurveChannel);
  return 0;
}
