// A report's rows arranged for finding partners: the rows of each star in
// each standard filter as a time series, for the rows whose GROUP is na, and
// the sets of rows that one star's GROUP value ties together.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "report_transform/report_inputs.h"
#include "transform/pairing.h"

namespace varistellar::report_transform {

// A run of `RowSets::order` or `RowSets::grouped`.
struct RowRun {
  std::uint32_t star = 0;
  std::uint32_t group = noGroup;  // noGroup for a time series
  char filter = 0;                // the standard filter of a time series; 0 for a set
  std::uint32_t begin = 0;
  std::uint32_t end = 0;
};

struct RowSets {
  // Rows that can be partners, GROUP na: by star, standard filter, date, line.
  std::vector<std::uint32_t> order;
  std::vector<RowRun> series;  // in the order of `order`
  // Rows with a GROUP that can be transformed: by star, group, line.
  std::vector<std::uint32_t> grouped;
  std::vector<RowRun> sets;  // in the order of `grouped`

  // The time series of a star in a standard filter, if it has one.
  [[nodiscard]] const RowRun* seriesOf(std::uint32_t star, char filter) const;
  // The standard filters of a star's time series, in the order B, V, R, I.
  [[nodiscard]] std::vector<char> seriesFilters(std::uint32_t star) const;
};

// The standard filter a row is transformed as (B for TB), or none.
[[nodiscard]] std::optional<char> standardFilterOf(const RowInputs& row);

// Only rows that can be transformed (`why` none) and have a date take part;
// the others stay as they were and are nobody's partner.
[[nodiscard]] RowSets arrangeRows(const ReportInputs& inputs);

// The partner of row `row` in the time series `series`: the rows that bracket
// its date, or the nearest, within the window (as `convert` pairs them).
[[nodiscard]] std::optional<transform::Partner> partnerIn(const RowSets& sets, const RowRun& series,
                                                          const ReportInputs& inputs,
                                                          const RowInputs& row,
                                                          transform::PairingWindow window);

}  // namespace varistellar::report_transform
