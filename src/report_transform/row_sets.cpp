// The rows' time series and GROUP sets.
#include "report_transform/row_sets.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>
#include <tuple>
#include <utility>

#include "report_transform/report_names.h"
#include "report_transform/row_census.h"
#include "transform/filter_order.h"
#include "transform/filter_sets.h"

namespace varistellar::report_transform {
namespace {

using SetKey = std::tuple<std::uint32_t, std::uint32_t>;

SetKey setKey(const RowInputs& row) { return {row.star, row.group}; }

// The rows of `order` whose key is `key`, `order` sorted by `keyOf` of its
// row indices.
template <typename Key, typename KeyOf>
std::pair<std::uint32_t, std::uint32_t> rowsWithKey(const std::vector<std::uint32_t>& order,
                                                    const Key& key, KeyOf keyOf) {
  const auto first = std::lower_bound(order.begin(), order.end(), key,
                                      [&](std::uint32_t i, const Key& k) { return keyOf(i) < k; });
  const auto last = std::upper_bound(first, order.end(), key,
                                     [&](const Key& k, std::uint32_t i) { return k < keyOf(i); });
  return {static_cast<std::uint32_t>(first - order.begin()),
          static_cast<std::uint32_t>(last - order.begin())};
}

// The series rows and the GROUP rows in file order; one star's series rows
// out of order go straight to their filter's place, each after the lower
// ranks' rows.
void collectRows(const RowStore& rows, const RowCensus& census, RowSets& sets) {
  const std::array<int, 256>& ranks = rankOfFilter();
  sets.grouped.reserve(census.grouped);
  const bool counted = !census.sorted && census.oneStar;
  std::array<std::size_t, 4> next{};
  for (std::size_t r = 1; r < next.size(); ++r) next[r] = next[r - 1] + census.ofRank[r - 1];
  if (counted) {
    sets.order.resize(census.series);
  } else {
    sets.order.reserve(census.series);
  }
  for (std::uint32_t i = 0; i < rows.size(); ++i) {
    const RowInputs& row = rows[i];
    if (inSet(row)) sets.grouped.push_back(i);
    if (!inSeries(row)) continue;
    if (counted) {
      sets.order[next[static_cast<std::size_t>(ranks[row.filter])]++] = i;
    } else {
      sets.order.push_back(i);
    }
  }
}

// A series row's star and the rank of its standard filter.
std::tuple<std::uint32_t, int> seriesKey(const RowInputs& row) {
  return {row.star, rankOfFilter()[row.filter]};
}

// Each series of `sets.order` in time order.
void sortSeriesByDate(RowSets& sets) {
  const RowStore& rows = sets.inputs->rows;
  const auto earlier = [&rows](std::uint32_t a, std::uint32_t b) {
    return std::tuple{rows[a].date, rows[a].line} < std::tuple{rows[b].date, rows[b].line};
  };
  for (auto run = sets.order.begin(); run != sets.order.end();) {
    const auto key = seriesKey(rows[*run]);
    const auto end = std::find_if(run, sets.order.end(),
                                  [&](std::uint32_t i) { return seriesKey(rows[i]) != key; });
    if (!std::is_sorted(run, end, earlier)) std::sort(run, end, earlier);
    run = end;
  }
}

}  // namespace

std::optional<char> standardFilterOf(const RowInputs& row) {
  return transform::standardFilter(filterName(row.filter));
}

std::size_t standardRankOf(const RowInputs& row) {
  return static_cast<std::size_t>(rankOfFilter()[row.filter]);
}

RowSets arrangeRows(const ReportInputs& inputs) {
  RowSets sets;
  sets.inputs = &inputs;
  const RowStore& rows = inputs.rows;
  const RowCensus census = inputs.census.rows == rows.size() ? inputs.census : RowCensus::of(rows);
  collectRows(rows, census, sets);
  const bool mixedStars = !census.sorted && !census.oneStar;
  // Several stars out of order: sorted by star and filter, each series still
  // in file order.
  if (mixedStars) {
    std::stable_sort(sets.order.begin(), sets.order.end(), [&](std::uint32_t a, std::uint32_t b) {
      return seriesKey(rows[a]) < seriesKey(rows[b]);
    });
  }
  // A series is most often in time order already, as the census saw unless
  // stars were mixed; only one that is not is sorted by date.
  if (mixedStars || !census.datesInOrder) sortSeriesByDate(sets);
  // Rows come in file order, so a stable sort keeps each set's rows in it.
  std::stable_sort(
      sets.grouped.begin(), sets.grouped.end(),
      [&rows](std::uint32_t a, std::uint32_t b) { return setKey(rows[a]) < setKey(rows[b]); });
  return sets;
}

std::array<std::optional<RowRun>, 4> RowSets::seriesByFilter(std::uint32_t star) const {
  const RowStore& rows = inputs->rows;
  const std::array<int, 256>& ranks = rankOfFilter();
  // The star's rows by one search over all; its filters' within them.
  const auto [begin, end] =
      rowsWithKey(order, star, [&rows](std::uint32_t i) { return rows[i].star; });
  const auto last = order.begin() + static_cast<std::ptrdiff_t>(end);
  std::array<std::optional<RowRun>, 4> series;
  auto from = order.begin() + static_cast<std::ptrdiff_t>(begin);
  for (int r = 0; r < 4 && from != last; ++r) {
    const auto to = std::partition_point(
        from, last, [&](std::uint32_t i) { return ranks[rows[i].filter] <= r; });
    if (to != from) {
      series[static_cast<std::size_t>(r)] =
          RowRun{.star = star,
                 .filter = "BVRI"[r],
                 .begin = static_cast<std::uint32_t>(from - order.begin()),
                 .end = static_cast<std::uint32_t>(to - order.begin())};
    }
    from = to;
  }
  return series;
}

std::optional<RowRun> RowSets::seriesOf(std::uint32_t star, char filter) const {
  return seriesByFilter(star)[transform::filterRank(filter)];
}

std::vector<char> RowSets::seriesFilters(std::uint32_t star) const {
  std::vector<char> filters;
  std::copy_if(transform::filterOrder.begin(), transform::filterOrder.end(),
               std::back_inserter(filters), [&](char f) { return seriesOf(star, f).has_value(); });
  return filters;
}

RowRun RowSets::setOf(std::uint32_t star, std::uint32_t group) const {
  const RowStore& rows = inputs->rows;
  const auto [begin, end] = rowsWithKey(grouped, SetKey{star, group},
                                        [&rows](std::uint32_t i) { return setKey(rows[i]); });
  return RowRun{.star = star, .group = group, .begin = begin, .end = end};
}

RowRun RowSets::setAt(std::uint32_t begin) const {
  const RowStore& rows = inputs->rows;
  const SetKey key = setKey(rows[grouped[begin]]);
  std::uint32_t end = begin + 1;
  while (end < grouped.size() && setKey(rows[grouped[end]]) == key) ++end;
  return RowRun{.star = std::get<0>(key), .group = std::get<1>(key), .begin = begin, .end = end};
}

std::vector<char> RowSets::starFiltersAt(std::size_t& at) const {
  // The star's series by its searches, not a walk over its rows: a star's
  // series may be a million rows long.
  std::vector<char> filters;
  for (const std::optional<RowRun>& series : seriesByFilter(inputs->rows[order[at]].star)) {
    if (!series) continue;
    filters.push_back(series->filter);
    at = series->end;
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
