// The rows counted for their arrangement as they are read.
#include "report_transform/row_census.h"

#include <cmath>
#include <optional>
#include <tuple>

#include "report_transform/report_names.h"
#include "transform/filter_order.h"

namespace varistellar::report_transform {

const std::array<int, 256>& rankOfFilter() {
  static const std::array<int, 256> ranks = [] {
    std::array<int, 256> table{};
    for (std::size_t f = 0; f < table.size(); ++f) {
      const std::optional<std::size_t> rank =
          transform::filterRankOfName(filterName(static_cast<std::uint8_t>(f)));
      table[f] = rank ? static_cast<int>(*rank) : -1;
    }
    return table;
  }();
  return ranks;
}

bool inSeries(const RowInputs& row) {
  return row.why == Untransformable::none && row.group == noGroup && !std::isnan(row.date);
}

bool inSet(const RowInputs& row) {
  return row.why == Untransformable::none && row.group != noGroup;
}

void RowCensus::add(const RowInputs& row) {
  ++rows;
  grouped += inSet(row) ? 1u : 0u;
  if (!inSeries(row)) return;
  const int rank = rankOfFilter()[row.filter];
  if (series++ != 0) {
    sorted = sorted && !(std::tuple{row.star, rank} < std::tuple{lastStar_, lastRank_});
    oneStar = oneStar && row.star == lastStar_;
  }
  // Rows of one date stay in file order, as the arrangement sorts them.
  const auto r = static_cast<std::size_t>(rank);
  if (ofRank[r]++ != 0 && starOfRank_[r] == row.star && row.date < dateOfRank_[r])
    datesInOrder = false;
  starOfRank_[r] = row.star;
  dateOfRank_[r] = row.date;
  lastStar_ = row.star;
  lastRank_ = rank;
}

RowCensus RowCensus::of(const RowStore& rows) {
  RowCensus census;
  for (std::size_t i = 0; i < rows.size(); ++i) census.add(rows[i]);
  return census;
}

}  // namespace varistellar::report_transform
