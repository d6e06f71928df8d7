// The rows' time series and GROUP sets.
#include "report_transform/row_sets.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "report_transform/report_names.h"
#include "transform/filter_sets.h"

namespace varistellar::report_transform {
namespace {

// B, V, R, I in that order; a filter's place among them.
int rank(char filter) {
  switch (filter) {
    case 'B': return 0;
    case 'V': return 1;
    case 'R': return 2;
    default: return 3;
  }
}

// Consecutive rows of `order` with the same key form one run.
template <typename KeyOf>
std::vector<RowRun> runsOf(const std::vector<std::uint32_t>& order, KeyOf keyOf) {
  std::vector<RowRun> runs;
  for (std::uint32_t i = 0; i < order.size(); ++i) {
    const RowRun key = keyOf(order[i]);
    if (runs.empty() || runs.back().star != key.star || runs.back().filter != key.filter ||
        runs.back().group != key.group) {
      runs.push_back(key);
      runs.back().begin = i;
    }
    runs.back().end = i + 1;
  }
  return runs;
}

}  // namespace

std::optional<char> standardFilterOf(const RowInputs& row) {
  return transform::standardFilter(filterName(row.filter));
}

RowSets arrangeRows(const ReportInputs& inputs) {
  RowSets sets;
  const RowStore& rows = inputs.rows;
  for (std::uint32_t i = 0; i < rows.size(); ++i) {
    const RowInputs& r = rows[i];
    if (r.why != Untransformable::none) continue;
    if (r.group != noGroup) {
      sets.grouped.push_back(i);
    } else if (!std::isnan(r.date)) {
      sets.order.push_back(i);
    }
  }
  const auto seriesKey = [&rows](std::uint32_t i) {
    const RowInputs& r = rows[i];
    return std::tuple{r.star, rank(standardFilterOf(r).value_or('I')), r.date, r.line};
  };
  std::sort(sets.order.begin(), sets.order.end(),
            [&seriesKey](std::uint32_t a, std::uint32_t b) { return seriesKey(a) < seriesKey(b); });
  sets.series = runsOf(sets.order, [&rows](std::uint32_t i) {
    return RowRun{.star = rows[i].star, .filter = standardFilterOf(rows[i]).value_or('I')};
  });
  // Rows come in file order, so a stable sort keeps each set's rows in it.
  std::stable_sort(
      sets.grouped.begin(), sets.grouped.end(), [&rows](std::uint32_t a, std::uint32_t b) {
        return std::tuple{rows[a].star, rows[a].group} < std::tuple{rows[b].star, rows[b].group};
      });
  sets.sets = runsOf(sets.grouped, [&rows](std::uint32_t i) {
    return RowRun{.star = rows[i].star, .group = rows[i].group};
  });
  return sets;
}

const RowRun* RowSets::seriesOf(std::uint32_t star, char filter) const {
  const auto found =
      std::lower_bound(series.begin(), series.end(), std::tuple{star, rank(filter)},
                       [](const RowRun& run, const std::tuple<std::uint32_t, int>& key) {
                         return std::tuple{run.star, rank(run.filter)} < key;
                       });
  if (found == series.end() || found->star != star || found->filter != filter) return nullptr;
  return &*found;
}

std::vector<char> RowSets::seriesFilters(std::uint32_t star) const {
  std::vector<char> filters;
  for (const char f : {'B', 'V', 'R', 'I'}) {
    if (seriesOf(star, f) != nullptr) filters.push_back(f);
  }
  return filters;
}

std::optional<transform::Partner> partnerIn(const RowSets& sets, const RowRun& series,
                                            const ReportInputs& inputs, const RowInputs& row,
                                            transform::PairingWindow window) {
  const auto timeAt = [&](std::size_t i) { return inputs.rows[sets.order[series.begin + i]].date; };
  std::optional<transform::Partner> p =
      transform::partnerAt(series.end - series.begin, timeAt, row.date, window);
  if (!p) return std::nullopt;
  // As indices of the rows themselves.
  p->first = sets.order[series.begin + p->first];
  p->second = sets.order[series.begin + p->second];
  return p;
}

}  // namespace varistellar::report_transform
