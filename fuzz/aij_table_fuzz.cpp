// Fuzzes the AstroImageJ table's reader over whole table contents, with and
// without aperture lines: it must not crash; every kept measurement is
// finite with a non-negative error; the counts add up; and without a first
// look that succeeded nothing is read.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "diagnostics/diagnostic.h"
#include "night/aij_table.h"
#include "scratch_file.h"

namespace {

std::string file;

void check(bool property) {
  if (!property) std::abort();
}

class Kept final : public varistellar::night::MeasurementSink {
 public:
  bool take(const varistellar::night::Measurement& m) override {
    check(std::isfinite(m.HJD) && std::isfinite(m.difference) && std::isfinite(m.error));
    check(m.error >= 0.0 || !std::isfinite(m.error));
    check(!m.checkDifference || std::isfinite(*m.checkDifference));
    check(std::isnan(m.AIRMASS) || m.AIRMASS >= 1.0);
    check(m.reference.has_value() && std::isfinite(*m.reference));
    ++count;
    return true;
  }
  std::uint64_t count = 0;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  file = varistellar::fuzz::scratchFolder("aij") + "/Measurements.xls";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace varistellar::night;
  varistellar::fuzz::writeScratchFile(file, {reinterpret_cast<const char*>(data), size});
  NightParameters parameters;
  parameters.comparisonStarId = "ENSEMBLE";
  parameters.comparisonMagnitudeGiven = false;
  // Half the inputs recompute the ensemble from named comparison stars.
  if (size != 0 && (data[0] & 1) != 0) {
    parameters.apertures = {{ApertureLine::Role::comparison, "C2", 12.0, 13},
                            {ApertureLine::Role::comparison, "C3", 12.5, 14}};
    parameters.checkStar = CheckStar{"K", 13.0};
  }
  AijTableReader reader{file};
  varistellar::diagnostics::DiagnosticList findings;
  const auto shape = reader.prepare({parameters, "p.txt", false, false, false}, findings);
  check(shape.has_value() || findings.hasErrors());
  Kept kept;
  SeriesCounts counts;
  const bool read = reader.read(kept, findings, counts);
  check(shape.has_value() || (!read && kept.count == 0));
  check(kept.count == counts.kept && counts.kept + counts.dropped <= counts.observationLines);
  return 0;
}
