// Siril's light curve: `#` lines (one of them `# JD_UT V-C err`), then per
// line three blank-separated numbers: the JD (UTC, mid-exposure), V-C against
// Siril's ensemble or one comparison star, and its error.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "night/series_reader.h"
#include "night/table_format.h"

namespace varistellar::night {

// What the `#` lines say: the JD's offset (`#JD_UT (+ N)`) and the chart.
struct SirilHeader {
  bool titled = false;  // a `# JD_UT V-C err` line was seen
  double offset = 0.0;
  std::optional<std::string> chart{};
};

// Takes one `#` line into `header`.
void readSirilHeaderLine(std::string_view line, SirilHeader& header);

class SirilLightCurveReader final : public SeriesReader {
 public:
  explicit SirilLightCurveReader(std::string file) : file_{std::move(file)} {}
  [[nodiscard]] std::optional<NightShape> prepare(const NightRequest& request,
                                                  diagnostics::DiagnosticSink& findings) override;
  [[nodiscard]] bool read(MeasurementSink& sink, diagnostics::DiagnosticSink& findings,
                          SeriesCounts& counts) override;

 private:
  std::string file_;
};

// The light curve's description, identified by its `# JD_UT V-C err` line.
extern const TableFormat sirilLightCurve;

[[nodiscard]] bool isSirilLightCurveBeginning(std::string_view beginning);

}  // namespace varistellar::night
