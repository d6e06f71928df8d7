// The one seam between a night's files and the conversion: a reader turns
// one filter's file into its series of measurements. Each format describes
// itself in table_format.h and is listed in table_formats.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "diagnostics/diagnostic.h"
#include "night/measurement.h"

namespace varistellar::night {

struct SeriesCounts {
  std::uint64_t observationLines = 0;  // lines that hold values
  std::uint64_t kept = 0;
  std::uint64_t dropped = 0;  // not measured (the format's TableWords::dropped)
  std::uint64_t errors = 0;
};

class SeriesReader {
 public:
  SeriesReader() = default;
  SeriesReader(const SeriesReader&) = delete;
  SeriesReader& operator=(const SeriesReader&) = delete;
  virtual ~SeriesReader() = default;

  // Reads the whole file, handing every kept measurement to `sink` in file
  // order and every fault to `findings`. False when the file cannot be read,
  // holds an error, or the sink refused a measurement.
  [[nodiscard]] virtual bool read(MeasurementSink& sink, diagnostics::DiagnosticSink& findings,
                                  SeriesCounts& counts) = 0;
};

// The reader for the series in `file`, chosen by its content.
[[nodiscard]] std::unique_ptr<SeriesReader> seriesReaderFor(const std::string& file);

}  // namespace varistellar::night
