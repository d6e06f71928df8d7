// The rows' time series and GROUP sets.
#include "report_transform/row_sets.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <iterator>
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
  // The standard filter's rank of each filter index, looked up once.
  std::array<int, 256> rankOf{};
  for (std::size_t f = 0; f < rankOf.size(); ++f) {
    const std::optional<char> standard =
        transform::standardFilter(filterName(static_cast<std::uint8_t>(f)));
    rankOf[f] = standard ? rank(*standard) : -1;
  }
  // The series by counting: each row's place follows from the number of
  // rows of the series before its own, so file order stays within a series.
  const std::size_t keys = inputs.stars.size() * 4;
  std::vector<std::uint32_t> start(keys + 1, 0);
  const auto keyOf = [&](const RowInputs& r) {
    return std::size_t{r.star} * 4 + static_cast<std::size_t>(rankOf[r.filter]);
  };
  const auto inSeries = [](const RowInputs& r) {
    return r.why == Untransformable::none && r.group == noGroup && !std::isnan(r.date);
  };
  for (std::uint32_t i = 0; i < rows.size(); ++i) {
    const RowInputs& r = rows[i];
    if (inSeries(r)) ++start[keyOf(r) + 1];
    if (r.why == Untransformable::none && r.group != noGroup) sets.grouped.push_back(i);
  }
  for (std::size_t k = 0; k < keys; ++k) start[k + 1] += start[k];
  sets.order.resize(start[keys]);
  std::vector<std::uint32_t> next(start.begin(), start.end() - 1);
  for (std::uint32_t i = 0; i < rows.size(); ++i) {
    if (inSeries(rows[i])) sets.order[next[keyOf(rows[i])]++] = i;
  }
  for (std::size_t k = 0; k < keys; ++k) {
    if (start[k] == start[k + 1]) continue;
    sets.series.push_back(RowRun{.star = static_cast<std::uint32_t>(k / 4),
                                 .filter = "BVRI"[k % 4],
                                 .begin = start[k],
                                 .end = start[k + 1]});
  }
  // A series is most often in time order already; only one that is not is sorted.
  const auto earlier = [&rows](std::uint32_t a, std::uint32_t b) {
    return std::tuple{rows[a].date, rows[a].line} < std::tuple{rows[b].date, rows[b].line};
  };
  for (const RowRun& run : sets.series) {
    const auto first = sets.order.begin() + static_cast<std::ptrdiff_t>(run.begin);
    const auto last = sets.order.begin() + static_cast<std::ptrdiff_t>(run.end);
    if (!std::is_sorted(first, last, earlier)) std::sort(first, last, earlier);
  }
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
  static constexpr std::array<char, 4> standard{'B', 'V', 'R', 'I'};
  std::vector<char> filters;
  std::copy_if(standard.begin(), standard.end(), std::back_inserter(filters),
               [&](char f) { return seriesOf(star, f) != nullptr; });
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
