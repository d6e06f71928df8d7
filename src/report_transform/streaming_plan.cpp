// A report's rows planned while it is read.
#include "report_transform/streaming_plan.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "report_transform/row_sets.h"
#include "transform/filter_order.h"
#include "transform/filter_sets.h"

namespace varistellar::report_transform {
namespace {

using transform::filterRank;

constexpr double none = std::numeric_limits<double>::quiet_NaN();

transform::Reading readingOf(const RowInputs& row) { return {{row.x, row.sx()}, row.checkX}; }

bool planned(const RowInputs& row) {
  return row.why == Untransformable::none && !std::isnan(row.date);
}

}  // namespace

// A minute beyond the window: more than the noise pairing forgives.
double StreamingPlan::reachDays() const { return (window_.minutes + 1.0) / 1440.0; }

StreamingPlan::StarSeries* StreamingPlan::seriesOf(std::uint32_t star) {
  // Rows come star by star: most often the star asked for last.
  if (last_ < stars_.size() && stars_[last_].star == star) return &stars_[last_];
  const auto found = std::find_if(stars_.begin(), stars_.end(),
                                  [star](const StarSeries& s) { return s.star == star; });
  last_ = static_cast<std::size_t>(found - stars_.begin());
  if (found == stars_.end()) {
    if (stars_.size() == mostStars) return nullptr;
    stars_.emplace_back().star = star;
  }
  return &stars_[last_];
}

bool StreamingPlan::add(const ReportInputs& inputs, std::uint32_t index) {
  if (failed_) return false;
  const RowInputs& row = inputs.rows[index];
  if (row.why != Untransformable::none) return true;
  if (row.group != noGroup) return fail();
  if (std::isnan(row.date)) return true;
  StarSeries* series = seriesOf(row.star);
  const std::size_t slot = standardRankOf(row);
  const std::size_t bit = std::size_t{1} << slot;
  const bool known = (series != nullptr && (series->combination & bit) != 0);
  const bool anyWritten =
      series != nullptr &&
      std::any_of(series->anyWritten.begin(), series->anyWritten.end(), [](bool w) { return w; });
  // A filter that comes after its star's rows were written would change them.
  if (series == nullptr || (known && row.date < series->lastDate[slot]) || (!known && anyWritten)) {
    return fail();
  }
  series->rows[slot].push_back(index);
  series->lastDate[slot] = row.date;
  series->combination |= bit;
  return true;
}

bool StreamingPlan::settled(const ReportInputs& inputs, std::uint32_t index) const {
  const RowInputs& row = inputs.rows[index];
  if (!planned(row)) return true;
  const auto found = std::find_if(stars_.begin(), stars_.end(),
                                  [&row](const StarSeries& s) { return s.star == row.star; });
  if (found == stars_.end()) return false;
  const std::size_t own = standardRankOf(row);
  // Alone so far: a partner filter may still come.
  if (found->combination == (std::size_t{1} << own)) return false;
  for (std::size_t slot = 0; slot < 4; ++slot) {
    if (slot == own || (found->combination & (std::size_t{1} << slot)) == 0) continue;
    if (!(found->lastDate[slot] > row.date + reachDays())) return false;
  }
  return true;
}

const StreamingPlan::SetEquations* StreamingPlan::equationsOf(std::size_t combination) {
  if (sets_[combination]) return &*sets_[combination];
  std::vector<char> filters;
  for (std::size_t slot = 0; slot < 4; ++slot) {
    if ((combination & (std::size_t{1} << slot)) != 0)
      filters.push_back(transform::filterOrder[slot]);
  }
  SetEquations equations;
  std::vector<transform::FilterRole> roles;
  if (filters.size() == 1 && setting_.colour) {
    roles.push_back(transform::aloneRole(filters.front(), setting_.colour->index));
  } else if (filters.size() == 1) {
    equations.fate = Fate::noColour;
  } else if (const transform::SetRoles set = transform::rolesOfSet(filters);
             std::holds_alternative<std::string>(set)) {
    equations.fate = Fate::unsupportedSet;
  } else {
    roles = std::get<std::vector<transform::FilterRole>>(set);
  }
  if (!roles.empty()) {
    // Said once the whole report is planned, not here.
    diagnostics::DiagnosticList unsaid;
    auto made = transform::planRoles(setting_, roles, unsaid);
    if (!made) return nullptr;
    for (const transform::FilterTransform& t : *made) {
      transforms_.push_back(t);
      equations.transformOf[filterRank(t.role.filter)] = &transforms_.back();
    }
  }
  sets_[combination] = equations;
  return &*sets_[combination];
}

std::optional<RowResult> StreamingPlan::solve(const ReportInputs& inputs, std::uint32_t index) {
  const RowInputs& row = inputs.rows[index];
  if (std::isnan(row.date)) return RowResult{.fate = Fate::noDate};
  StarSeries& series = *seriesOf(row.star);
  const SetEquations* equations = equationsOf(series.combination);
  if (equations == nullptr) {
    failed_ = true;
    return std::nullopt;
  }
  if (equations->fate != Fate::transformed) return RowResult{.fate = equations->fate};
  const std::size_t own = standardRankOf(row);
  const char filter = transform::filterOrder[own];
  const transform::FilterTransform& transform = *equations->transformOf[own];
  transform::EquationValues at;
  std::array<double, 4> comparisons{none, none, none, none};
  transform::putOwn(at, filter, readingOf(row));
  const double comparison = inputs.references[row.reference].comparison;
  comparisons[own] = comparison;
  for (const char partnerFilter : transform.role.partners) {
    const std::size_t slot = filterRank(partnerFilter);
    const std::deque<std::uint32_t>& rows = series.rows[slot];
    const auto timeAt = [&](std::size_t i) { return inputs.rows[rows[i]].date; };
    // Each filter's rows are solved in time order: the search starts where the last one ended.
    const auto partner = rows.empty() ? std::nullopt
                                      : transform::partnerAt(rows.size(), timeAt, row.date, window_,
                                                             series.place[slot]);
    if (!partner) return RowResult{.fate = Fate::noPartner};
    const RowInputs& first = inputs.rows[rows[partner->first]];
    const RowInputs& second = inputs.rows[rows[partner->second]];
    transform::putPartner(at, partnerFilter, *partner, readingOf(first), readingOf(second));
    comparisons[slot] = inputs.references[first.reference].comparison;
  }
  return finishRow(transform, at, comparisons, comparison);
}

void StreamingPlan::written(const ReportInputs& inputs, std::uint32_t index) {
  const RowInputs& row = inputs.rows[index];
  if (!planned(row) || failed_) return;
  StarSeries& series = *seriesOf(row.star);
  const std::size_t own = standardRankOf(row);
  series.anyWritten[own] = true;
  series.writtenDate[own] = row.date;
  // Each filter's rows come in time order: none still to come of a filter is
  // older than its last written one, and none needs a partner older than
  // the window before the oldest of those.
  double oldest = std::numeric_limits<double>::infinity();
  for (std::size_t slot = 0; slot < 4; ++slot) {
    if ((series.combination & (std::size_t{1} << slot)) == 0) continue;
    if (!series.anyWritten[slot]) return;
    oldest = std::min(oldest, series.writtenDate[slot]);
  }
  const double cut = oldest - reachDays();
  for (std::size_t slot = 0; slot < 4; ++slot) {
    std::deque<std::uint32_t>& rows = series.rows[slot];
    std::size_t& place = series.place[slot];
    while (!rows.empty() && inputs.rows[rows.front()].date < cut) {
      rows.pop_front();
      place -= place == 0 ? 0 : 1;
    }
  }
}

std::optional<std::vector<transform::FilterTransform>> StreamingPlan::transformsSoFar() {
  std::vector<transform::FilterTransform> found;
  for (const StarSeries& series : stars_) {
    const SetEquations* set = equationsOf(series.combination);
    if (set == nullptr) return std::nullopt;
    if (set->fate != Fate::transformed) continue;
    for (const transform::FilterTransform* t : set->transformOf) {
      if (t != nullptr) found.push_back(*t);
    }
  }
  return found;
}

}  // namespace varistellar::report_transform
