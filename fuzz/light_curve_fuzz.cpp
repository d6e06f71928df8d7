// Fuzzes the light-curve stage over whole "lightcurve.txt" contents.
#include <cmath>

#include "run/light_curve.h"
#include "stage_harness.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  stage_harness::prepare();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using varistellar::run::ObservationTable;
  stage_harness::writeInput("lightcurve.txt", data, size);
  static ObservationTable table;
  table = ObservationTable{};
  try {
    varistellar::run::readLightCurveTable(table);
  } catch (const RunEnded&) {
    // A handled or unhandled failure: the stage ended the run itself.
  }
  stage_harness::check(table.n >= 0 && table.n <= ObservationTable::capacity,
                       "the count lies between 0 and 1000");
  const auto n = static_cast<std::size_t>(table.n);
  for (std::size_t i = 0; i < n; ++i) {
    stage_harness::check(!(table.V_C[i] > 90.0), "no kept observation has V-C above 90");
  }
  for (std::size_t i = n; i < table.V_C.size(); ++i) {
    stage_harness::check(
        table.JDHEL[i] == 0 && table.V_C[i] == 0 && table.s1[i] == 0 && table.AIRMASS[i] == 0,
        "nothing is stored beyond the n observations kept");
  }
  return 0;
}
