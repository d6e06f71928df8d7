// The rows' time series and GROUP sets.
#include "report_transform/row_sets.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <tuple>
#include <utility>

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

// The rank of each filter index's standard filter; -1 for none.
const std::array<int, 256>& rankOfFilter() {
  static const std::array<int, 256> ranks = [] {
    std::array<int, 256> table{};
    for (std::size_t f = 0; f < table.size(); ++f) {
      const std::optional<char> standard =
          transform::standardFilter(filterName(static_cast<std::uint8_t>(f)));
      table[f] = standard ? rank(*standard) : -1;
    }
    return table;
  }();
  return ranks;
}

using SeriesKey = std::tuple<std::uint32_t, int>;
using SetKey = std::tuple<std::uint32_t, std::uint32_t>;

SeriesKey seriesKey(const RowInputs& row) { return {row.star, rankOfFilter()[row.filter]}; }
SetKey setKey(const RowInputs& row) { return {row.star, row.group}; }

// The rows of `order` whose key is `key`, `order` sorted by it.
template <typename Key, typename KeyOf>
std::pair<std::uint32_t, std::uint32_t> rangeOf(const std::vector<std::uint32_t>& order,
                                                const RowStore& rows, const Key& key, KeyOf keyOf) {
  const auto range = std::equal_range(
      order.begin(), order.end(), key,
      [&](const auto& a, const auto& b) { return keyOf(a, rows) < keyOf(b, rows); });
  return {static_cast<std::uint32_t>(range.first - order.begin()),
          static_cast<std::uint32_t>(range.second - order.begin())};
}

// A key as itself, or a row's index as its row's key.
template <typename Key, Key (*of)(const RowInputs&)>
struct KeyOf {
  Key operator()(const Key& key, const RowStore&) const { return key; }
  Key operator()(std::uint32_t index, const RowStore& rows) const { return of(rows[index]); }
};

}  // namespace

std::optional<char> standardFilterOf(const RowInputs& row) {
  return transform::standardFilter(filterName(row.filter));
}

RowSets arrangeRows(const ReportInputs& inputs) {
  RowSets sets;
  sets.inputs = &inputs;
  const RowStore& rows = inputs.rows;
  const auto inSeries = [](const RowInputs& r) {
    return r.why == Untransformable::none && r.group == noGroup && !std::isnan(r.date);
  };
  const auto inSet = [](const RowInputs& r) {
    return r.why == Untransformable::none && r.group != noGroup;
  };
  // Counted first, so that each list takes exactly its rows.
  std::size_t series = 0;
  std::size_t grouped = 0;
  for (std::uint32_t i = 0; i < rows.size(); ++i) {
    series += inSeries(rows[i]) ? 1u : 0u;
    grouped += inSet(rows[i]) ? 1u : 0u;
  }
  sets.order.reserve(series);
  sets.grouped.reserve(grouped);
  for (std::uint32_t i = 0; i < rows.size(); ++i) {
    if (inSeries(rows[i])) sets.order.push_back(i);
    if (inSet(rows[i])) sets.grouped.push_back(i);
  }
  std::sort(sets.order.begin(), sets.order.end(), [&rows](std::uint32_t a, std::uint32_t b) {
    const RowInputs& x = rows[a];
    const RowInputs& y = rows[b];
    return std::tuple{seriesKey(x), x.date, x.line} < std::tuple{seriesKey(y), y.date, y.line};
  });
  // Rows come in file order, so a stable sort keeps each set's rows in it.
  std::stable_sort(
      sets.grouped.begin(), sets.grouped.end(),
      [&rows](std::uint32_t a, std::uint32_t b) { return setKey(rows[a]) < setKey(rows[b]); });
  return sets;
}

std::optional<RowRun> RowSets::seriesOf(std::uint32_t star, char filter) const {
  const auto [begin, end] =
      rangeOf(order, inputs->rows, SeriesKey{star, rank(filter)}, KeyOf<SeriesKey, seriesKey>{});
  if (begin == end) return std::nullopt;
  return RowRun{.star = star, .filter = filter, .begin = begin, .end = end};
}

std::vector<char> RowSets::seriesFilters(std::uint32_t star) const {
  static constexpr std::array<char, 4> standard{'B', 'V', 'R', 'I'};
  std::vector<char> filters;
  std::copy_if(standard.begin(), standard.end(), std::back_inserter(filters),
               [&](char f) { return seriesOf(star, f).has_value(); });
  return filters;
}

RowRun RowSets::setOf(std::uint32_t star, std::uint32_t group) const {
  const auto [begin, end] =
      rangeOf(grouped, inputs->rows, SetKey{star, group}, KeyOf<SetKey, setKey>{});
  return RowRun{.star = star, .group = group, .begin = begin, .end = end};
}

RowRun RowSets::setAt(std::uint32_t begin) const {
  const RowInputs& first = inputs->rows[grouped[begin]];
  RowRun run = setOf(first.star, first.group);
  run.begin = begin;
  return run;
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
