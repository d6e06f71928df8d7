// Fuzzes Siril's light-curve reader over whole file contents: it must not
// crash; no kept row has V-C above 90 or an error above 9.99; the counts add
// up; and whether a file is told as Siril's never depends on more than its
// first bytes.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "diagnostics/diagnostic.h"
#include "night/siril_light_curve.h"
#include "scratch_file.h"

namespace {

std::string file;

void check(bool property) {
  if (!property) std::abort();
}

class Kept final : public varistellar::night::MeasurementSink {
 public:
  bool take(const varistellar::night::Measurement& m) override {
    check(!(m.difference > 90.0) && !(m.error > 9.99));
    check(std::isfinite(m.HJD) && std::isnan(m.AIRMASS) && !m.checkDifference);
    ++count;
    return true;
  }
  std::uint64_t count = 0;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  file = varistellar::fuzz::scratchFolder("siril") + "/light_curve.dat";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace varistellar::night;
  const std::string_view bytes{reinterpret_cast<const char*>(data), size};
  varistellar::fuzz::writeScratchFile(file, bytes);
  (void)isSirilLightCurveBeginning(bytes);
  SirilLightCurveReader reader{file};
  varistellar::diagnostics::DiagnosticList findings;
  Kept kept;
  SeriesCounts counts;
  const bool read = reader.read(kept, findings, counts);
  check(read == (counts.errors == 0 && !findings.hasErrors()));
  check(kept.count == counts.kept && counts.kept + counts.dropped <= counts.observationLines);
  return 0;
}
