// The AstroImageJ measurement table: `#` lines, a column-title line, then
// one row per image, TAB- or comma-separated, columns found by their titles.
// The titles and, where the report's date depends on every row, the date
// columns are looked at before the night is read (prepare); then the rows
// are read one line at a time.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "night/aij_columns.h"
#include "night/series_reader.h"
#include "night/table_format.h"

namespace varistellar::night {

class AijTableReader final : public SeriesReader {
 public:
  explicit AijTableReader(std::string file) : file_{std::move(file)} {}
  [[nodiscard]] std::optional<NightShape> prepare(const NightRequest& request,
                                                  diagnostics::DiagnosticSink& findings) override;
  [[nodiscard]] bool read(MeasurementSink& sink, diagnostics::DiagnosticSink& findings,
                          SeriesCounts& counts) override;

 private:
  // What a first look at the rows tells: the first kept row's reference,
  // and a kept row without HJD.
  struct FirstLook {
    std::uint64_t firstKept = 0;
    std::optional<double> tableReference{};
    std::uint64_t withoutHJD = 0;
    // The comparison stars' entered magnitudes (Source_AMag) on the first
    // kept row, when the table has every one.
    std::vector<double> comparisonMagnitudes{};
  };
  [[nodiscard]] FirstLook lookAtRows(bool wantHJD) const;
  // The ensemble's stars with their catalogue magnitudes, where all are known.
  [[nodiscard]] std::vector<EnsembleStar> ensembleStars(const FirstLook& look) const;
  [[nodiscard]] bool chooseDate(const NightRequest& request, const FirstLook& look,
                                diagnostics::DiagnosticSink& findings);
  // Warns when line 8 or the comparison lines and the table's own ensemble
  // magnitude differ on the first kept row.
  void compareReferences(const FirstLook& look, diagnostics::DiagnosticSink& findings) const;

  std::string file_;
  std::optional<AijColumns> columns_{};
  std::uint64_t titleLine_ = 0;
  bool julianDate_ = false;
  bool countsWanted_ = false;  // the ensemble's counts go with each measurement
};

// The table's description, identified by its column titles.
extern const TableFormat aijMeasurementTable;

// True when the first line past the `#` and blank lines of `beginning` is
// an AstroImageJ column-title line.
[[nodiscard]] bool isAijTableBeginning(std::string_view beginning);

}  // namespace varistellar::night
