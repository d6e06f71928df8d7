// The command line's reading of MAGNIVEX's light-curve table: two header
// lines, then exactly ten plain decimal numbers per line (JDHEL V-C s1 V-K1
// s2 C1-K1 s3 HELCOR AIRMASS ALTITUDE); blank lines are passed over, lines
// whose V-C is above 90 are dropped and counted.
#pragma once

#include <string>

#include "night/series_reader.h"
#include "night/table_format.h"

namespace varistellar::night {

class LightCurveTableReader final : public SeriesReader {
 public:
  explicit LightCurveTableReader(std::string file) : file_{std::move(file)} {}
  [[nodiscard]] bool read(MeasurementSink& sink, diagnostics::DiagnosticSink& findings,
                          SeriesCounts& counts) override;

 private:
  std::string file_;
};

// The table's description: the program, its words, its file name; a file is
// identified as one by its first line's JDHEL or by a line of ten numbers.
extern const TableFormat magnivexLightCurveTable;

}  // namespace varistellar::night
