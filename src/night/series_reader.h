// The one seam between a night's files and the conversion: a reader turns
// one filter's file into its series of measurements. Each format describes
// itself in table_format.h and is listed in table_formats.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "night/measurement.h"
#include "night/parameter_file.h"

namespace varistellar::night {

struct SeriesCounts {
  std::uint64_t observationLines = 0;  // lines that hold values
  std::uint64_t kept = 0;
  std::uint64_t dropped = 0;  // not measured (the format's TableWords::dropped)
  std::uint64_t errors = 0;
};

// What the conversion asks of a night before its table is read.
struct NightRequest {
  const NightParameters& parameters;
  std::string_view parameterFile;
  bool julianDate = false;  // --date JD
  bool dateGiven = false;   // --date was given
  bool checkStar = false;   // --check-star
};

// What a table tells of its night before it is read: the report's date, and
// whether the comparison is an ensemble (CNAME ENSEMBLE, its magnitude per
// row in NOTES).
struct NightShape {
  bool julianDate = false;
  bool ensemble = false;
  // The ensemble's catalogue magnitude on the first kept row, where the
  // table gives it: it stands for line 8 where one number is needed (the
  // transformation's comparison colour, the summary).
  std::optional<double> reference{};
  // False for a table that measures no check star: KNAME is then na.
  bool checkStarMeasured = true;
  // The chart the table names, for a parameter file that names none.
  std::optional<std::string> chart{};
  // An ensemble's stars, where every catalogue magnitude is known.
  std::vector<EnsembleStar> ensembleStars{};
};

class SeriesReader {
 public:
  SeriesReader() = default;
  SeriesReader(const SeriesReader&) = delete;
  SeriesReader& operator=(const SeriesReader&) = delete;
  virtual ~SeriesReader() = default;

  // Looks at the table's titles (and, where the date depends on every row,
  // at its dates) before anything is written; nothing on an error, which it
  // reports. A table with one comparison star and a date of its own needs
  // nothing more than the request.
  [[nodiscard]] virtual std::optional<NightShape> prepare(const NightRequest& request,
                                                          diagnostics::DiagnosticSink& findings);

  // Reads the whole file, handing every kept measurement to `sink` in file
  // order and every fault to `findings`. False when the file cannot be read,
  // holds an error, or the sink refused a measurement.
  [[nodiscard]] virtual bool read(MeasurementSink& sink, diagnostics::DiagnosticSink& findings,
                                  SeriesCounts& counts) = 0;
};

// The reader for the series in `file`, chosen by its content.
[[nodiscard]] std::unique_ptr<SeriesReader> seriesReaderFor(const std::string& file);

// The error for aperture lines in the parameter file of a table that has no
// apertures; true when there are none.
bool noApertureLines(const NightRequest& request, std::string_view program,
                     diagnostics::DiagnosticSink& findings);

}  // namespace varistellar::night
