// Where an AstroImageJ measurement table keeps what a night needs, found
// once from its column-title line: the target's, the check star's and the
// ensemble's columns, the dates, the airmass; and the ensemble's catalogue
// magnitude where the parameter file gives it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "night/series_reader.h"

namespace varistellar::night {

inline constexpr std::size_t noColumn = std::numeric_limits<std::size_t>::max();

// One aperture's columns.
struct AijStar {
  std::string aperture;  // "T1"
  std::size_t relFlux = noColumn;
  std::size_t relFluxError = noColumn;
  std::size_t counts = noColumn;  // Source-Sky
  std::size_t countsError = noColumn;
  std::size_t catalogue = noColumn;  // Source_AMag: a comparison star's entered magnitude
};

struct AijColumns {
  char separator = '\t';
  std::vector<std::string> titles;  // by column, for messages
  // With `comparison` lines the ensemble is recomputed from the counts;
  // otherwise the table's own relative fluxes are read.
  bool recomputed = false;
  AijStar target;
  std::optional<AijStar> check{};
  std::vector<AijStar> comparisons;           // the ensemble's apertures
  std::vector<double> comparisonMagnitudes;   // of `comparison` lines, in their order
  std::size_t targetMagnitude = noColumn;     // Source_AMag of the target
  std::size_t targetRelFlux = noColumn;       // rel_flux of the target, for the table's reference
  std::optional<double> fixedReference{};     // from `comparison` lines or line 8
  std::optional<double> comparedReference{};  // line 8 beside an ensemble: only compared
  std::size_t hjd = noColumn;
  std::size_t jd = noColumn;
  double jdOffset = 0.0;  // J.D.-2400000 is read with 2400000 added
  std::size_t airmass = noColumn;
  std::size_t lastColumn = 0;  // the highest column needed

  [[nodiscard]] bool ensemble() const { return comparisons.size() > 1; }
  [[nodiscard]] const std::string& title(std::size_t column) const { return titles[column]; }
};

// The titles of a column-title line, split at TABs (at commas when it holds
// none), without their quotes and edge blanks.
[[nodiscard]] std::vector<std::string> columnTitles(std::string_view line);

// True when `titles` are an AstroImageJ table's: one is rel_flux_T1 or Source-Sky_T1.
[[nodiscard]] bool areAijTitles(const std::vector<std::string>& titles);

// The columns for the night `request` describes; nothing when the table or
// the aperture lines do not fit together, each fault reported (the table's at
// `titleLine`, an aperture line's at its own line).
[[nodiscard]] std::optional<AijColumns> aijColumns(std::vector<std::string> titles, char separator,
                                                   std::uint64_t titleLine,
                                                   const NightRequest& request,
                                                   const std::string& tableFile,
                                                   diagnostics::DiagnosticSink& findings);

}  // namespace varistellar::night
