// A report's rows arranged for finding partners: the rows of each star in
// each standard filter as a time series, for the rows whose GROUP is na, and
// the sets of rows that one star's GROUP value ties together. Only the rows'
// order is kept (4 bytes a row); a series or a set is found in it by a
// binary search, so that nothing is kept per star or per set.
#pragma once

#include <array>
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
  const ReportInputs* inputs = nullptr;
  // Rows that can be partners, GROUP na: by star, standard filter, date, line.
  std::vector<std::uint32_t> order;
  // Rows with a GROUP that can be transformed: by star, group, line.
  std::vector<std::uint32_t> grouped;

  // The time series of a star in B, V, R and I, where it has them.
  [[nodiscard]] std::array<std::optional<RowRun>, 4> seriesByFilter(std::uint32_t star) const;
  // The time series of a star in a standard filter, if it has one.
  [[nodiscard]] std::optional<RowRun> seriesOf(std::uint32_t star, char filter) const;
  // The standard filters of a star's time series, in the order B, V, R, I.
  [[nodiscard]] std::vector<char> seriesFilters(std::uint32_t star) const;
  // The same for the star whose rows in `order` start at `at`, which then
  // moves past them: a walk over all stars without a search.
  [[nodiscard]] std::vector<char> starFiltersAt(std::size_t& at) const;
  // The rows of a star's GROUP value, in file order.
  [[nodiscard]] RowRun setOf(std::uint32_t star, std::uint32_t group) const;
  // The run of `grouped` that starts at `begin` (a set's first row), found
  // by walking it.
  [[nodiscard]] RowRun setAt(std::uint32_t begin) const;
};

// The standard filter a row is transformed as (B for TB), or none.
[[nodiscard]] std::optional<char> standardFilterOf(const RowInputs& row);
// Its place in B, V, R, I, from a table: for a row that has one.
[[nodiscard]] std::size_t standardRankOf(const RowInputs& row);

// Only rows that can be transformed (`why` none) and have a date take part;
// the others stay as they were and are nobody's partner. The sets refer to
// `inputs`, which must outlive them.
[[nodiscard]] RowSets arrangeRows(const ReportInputs& inputs);

// The partner of row `row` in the time series `series`: the rows that bracket
// its date, or the nearest, within the window (as `convert` pairs them).
[[nodiscard]] std::optional<transform::Partner> partnerIn(const RowSets& sets, const RowRun& series,
                                                          const ReportInputs& inputs,
                                                          const RowInputs& row,
                                                          transform::PairingWindow window);

}  // namespace varistellar::report_transform
