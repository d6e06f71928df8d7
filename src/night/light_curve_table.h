// The command line's reading of MAGNIVEX's light-curve table: two header
// lines, then exactly ten plain decimal numbers per line (JDHEL V-C s1 V-K1
// s2 C1-K1 s3 HELCOR AIRMASS ALTITUDE); blank lines are passed over, lines
// whose V-C is above 90 are dropped and counted.
#pragma once

#include <string>

#include "night/series_reader.h"

namespace varistellar::night {

class LightCurveTableReader final : public SeriesReader {
 public:
  explicit LightCurveTableReader(std::string file) : file_{std::move(file)} {}
  [[nodiscard]] bool read(MeasurementSink& sink, diagnostics::DiagnosticSink& findings,
                          SeriesCounts& counts) override;

 private:
  std::string file_;
};

}  // namespace varistellar::night
