// What arranging a report's rows into time series and GROUP sets needs to
// know of them, counted as each row is read: how many rows each list takes,
// and whether the series stand in order already, so that the arrangement
// after the reading, when nothing else runs beside it, passes over the rows
// once.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "report_transform/row_inputs.h"
#include "report_transform/row_store.h"

namespace varistellar::report_transform {

// The rank of each filter index's standard filter (B, V, R, I); -1 for none.
[[nodiscard]] const std::array<int, 256>& rankOfFilter();

// A row that pairs in time: it can be transformed, its GROUP is na and it has a date.
[[nodiscard]] bool inSeries(const RowInputs& row);
// A row of a GROUP set that can be transformed.
[[nodiscard]] bool inSet(const RowInputs& row);

struct RowCensus {
  std::size_t rows = 0;  // counted so far
  std::size_t series = 0;
  std::size_t grouped = 0;
  // The series rows stand in file order by star and filter already (stars
  // are numbered by where their names are kept, not 0, 1, 2).
  bool sorted = true;
  // They are all of one star (whose filters may alternate: B, V, B, V).
  bool oneStar = true;
  // Each series is in time order in the file; known only where `sorted` or
  // `oneStar` holds (each series is then one run of its filter's rows).
  bool datesInOrder = true;
  std::array<std::size_t, 4> ofRank{};  // the series rows of each standard filter

  void add(const RowInputs& row);
  // The census of rows that were not counted as they were read.
  [[nodiscard]] static RowCensus of(const RowStore& rows);

 private:
  std::uint32_t lastStar_ = 0;  // of the last series row
  int lastRank_ = 0;
  std::array<std::uint32_t, 4> starOfRank_{};  // of each filter's last series row
  std::array<double, 4> dateOfRank_{};
};

}  // namespace varistellar::report_transform
