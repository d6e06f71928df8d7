// The transformation of a report's rows.
#include "report_transform/report_plan.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>

#include "transform/filter_order.h"
#include "transform/filter_sets.h"
#include "transform/paired_values.h"
#include "transform/transformed_values.h"

namespace varistellar::report_transform {
namespace {

using transform::filterRank;
using transform::FilterRole;

bool sameRole(const FilterRole& a, const FilterRole& b) {
  return a.filter == b.filter && a.equation == b.equation && a.index == b.index;
}

constexpr double none = std::numeric_limits<double>::quiet_NaN();

transform::Reading readingOf(const RowInputs& row) { return {{row.x, row.sx()}, row.checkX}; }

// The standard filters B, V, R and I as the bits 1, 2, 4 and 8.
std::size_t combinationOf(const std::vector<char>& filters) {
  std::size_t bits = 0;
  // cppcheck-suppress useStlAlgorithm ; a bit for each filter
  for (const char filter : filters) bits |= std::size_t{1} << filterRank(filter);
  return bits;
}

// --colour gives one star's colours: false, with an error naming them, when
// the rows of several stars would take them (a filter alone in a star's
// series or in a GROUP set). Counted without a list of the stars.
bool oneStarAlone(const ReportInputs& inputs, const RowSets& sets,
                  diagnostics::DiagnosticSink& findings) {
  constexpr std::size_t named = 10;
  std::uint64_t count = 0;
  std::vector<std::uint32_t> first;  // the first `named` of each walk, by number
  const auto aloneInSeries = [&](std::uint32_t star) {
    return sets.seriesFilters(star).size() == 1;
  };
  for (std::size_t i = 0; i < sets.order.size();) {
    const std::uint32_t star = inputs.rows[sets.order[i]].star;
    if (sets.starFiltersAt(i).size() == 1 && count++ < named) first.push_back(star);
  }
  std::optional<std::uint32_t> counted;  // sets come by star: one count each
  std::size_t fromSets = 0;
  for (std::uint32_t i = 0; i < sets.grouped.size();) {
    const RowRun run = sets.setAt(i);
    i = run.end;
    if (run.end - run.begin != 1 || counted == run.star || aloneInSeries(run.star)) continue;
    counted = run.star;
    ++count;
    if (fromSets++ < named) first.push_back(run.star);
  }
  if (count <= 1) return true;
  std::sort(first.begin(), first.end());
  std::string names;
  for (std::size_t i = 0; i < first.size() && i < named; ++i) {
    names.append(i == 0 ? "" : ", ").append(inputs.stars.name(first[i]));
  }
  if (count > named) names += " and " + std::to_string(count - named) + " more";
  findings.error(inputs.file, 0, 0,
                 "--colour gives one star's colours, but the report has rows of " +
                     std::to_string(count) + " stars alone in their filter: " + names);
  return false;
}

}  // namespace

ReportPlan::SetPlan ReportPlan::planSet(const std::vector<char>& filters, bool repeated,
                                        const std::optional<transform::ColourIndex>& colourIndex,
                                        std::vector<FilterRole>& roles) const {
  SetPlan plan;
  std::vector<FilterRole> own;
  if (repeated) {
    plan.fate = Fate::unsupportedSet;
    return plan;
  }
  if (filters.size() == 1) {
    if (!colourIndex) {
      plan.fate = Fate::noColour;
      return plan;
    }
    own.push_back(transform::aloneRole(filters.front(), *colourIndex));
  } else {
    const transform::SetRoles set = transform::rolesOfSet(filters);
    if (std::holds_alternative<std::string>(set)) {
      plan.fate = Fate::unsupportedSet;
      return plan;
    }
    own = std::get<std::vector<FilterRole>>(set);
  }
  for (const FilterRole& role : own) {
    auto found = std::find_if(roles.begin(), roles.end(),
                              [&](const FilterRole& r) { return sameRole(r, role); });
    if (found == roles.end()) found = roles.insert(roles.end(), role);
    plan.transformOf[filterRank(role.filter)] = static_cast<std::int16_t>(found - roles.begin());
  }
  return plan;
}

std::optional<ReportPlan> ReportPlan::make(const ReportInputs& inputs, const RowSets& sets,
                                           const transform::TransformSetting& setting,
                                           transform::PairingWindow window,
                                           diagnostics::DiagnosticSink& findings) {
  ReportPlan plan{inputs, sets, window};
  std::optional<transform::ColourIndex> colourIndex;
  if (setting.colour) colourIndex = setting.colour->index;
  std::vector<FilterRole> roles;
  const auto planOnce = [&](std::optional<SetPlan>& slot, const std::vector<char>& filters) {
    if (!slot) slot = plan.planSet(filters, false, colourIndex, roles);
  };
  for (std::size_t i = 0; i < sets.order.size();) {
    const std::vector<char> filters = sets.starFiltersAt(i);
    planOnce(plan.seriesPlans_[combinationOf(filters)], filters);
  }
  for (std::uint32_t i = 0; i < sets.grouped.size();) {
    const RowRun run = sets.setAt(i);
    std::vector<char> filters;
    bool repeated = false;
    for (std::uint32_t r = run.begin; r < run.end && !repeated; ++r) {
      const char filter = *standardFilterOf(inputs.rows[sets.grouped[r]]);
      repeated = std::find(filters.begin(), filters.end(), filter) != filters.end();
      filters.push_back(filter);
    }
    if (!repeated) planOnce(plan.groupPlans_[combinationOf(filters)], filters);
    i = run.end;
  }
  if (setting.colour && !oneStarAlone(inputs, sets, findings)) return std::nullopt;
  auto planned = transform::planRoles(setting, roles, findings);
  if (!planned) return std::nullopt;
  plan.transforms_ = std::move(*planned);
  return plan;
}

const ReportPlan::SetPlan* ReportPlan::planOf(const RowInputs& row, RowRun& set) const {
  if (row.group == noGroup) {
    return &*seriesPlans_[seriesOfStar(row.star).combination];
  }
  set = sets_->setOf(row.star, row.group);
  // A set of distinct filters has four rows at most: looking further only
  // finds a repeat.
  std::vector<char> filters;
  for (std::uint32_t i = set.begin; i < set.end; ++i) {
    const char filter = *standardFilterOf(inputs_->rows[sets_->grouped[i]]);
    if (std::find(filters.begin(), filters.end(), filter) != filters.end()) return &repeatedSet_;
    filters.push_back(filter);
  }
  return &*groupPlans_[combinationOf(filters)];
}

const ReportPlan::StarSeries& ReportPlan::seriesOfStar(std::uint32_t star) const {
  if (lastStar_.star == star) return lastStar_;
  lastStar_.star = star;
  lastStar_.bySlot = sets_->seriesByFilter(star);
  lastStar_.combination = 0;
  for (std::size_t slot = 0; slot < lastStar_.bySlot.size(); ++slot) {
    if (lastStar_.bySlot[slot]) lastStar_.combination |= std::size_t{1} << slot;
  }
  return lastStar_;
}

std::vector<transform::FilterTransform> ReportPlan::usedTransforms() const {
  std::vector<char> used(transforms_.size(), 0);
  std::size_t found = 0;
  // Most reports use each transformation within their first rows; only a
  // report with one that no row takes is solved through to its end.
  for (std::uint32_t i = 0; i < inputs_->rows.size() && found < transforms_.size(); ++i) {
    if (inputs_->rows[i].why != Untransformable::none) continue;
    const RowResult result = solve(i);
    if (result.fate != Fate::transformed) continue;
    char& seen = used[static_cast<std::size_t>(result.transform - transforms_.data())];
    found += seen == 0 ? 1u : 0u;
    seen = 1;
  }
  std::vector<transform::FilterTransform> listed;
  for (std::size_t t = 0; t < transforms_.size(); ++t) {
    if (used[t] != 0) listed.push_back(transforms_[t]);
  }
  return listed;
}

RowResult ReportPlan::solve(std::uint32_t index) const {
  const RowInputs& row = inputs_->rows[index];
  if (row.group == noGroup && std::isnan(row.date)) return {.fate = Fate::noDate};
  RowRun set;
  const SetPlan& plan = *planOf(row, set);
  if (plan.fate != Fate::transformed) return {.fate = plan.fate};
  const char filter = *standardFilterOf(row);
  const transform::FilterTransform& transform =
      transforms_[static_cast<std::size_t>(plan.transformOf[filterRank(filter)])];

  transform::EquationValues at;
  std::array<double, 4> comparisons{none, none, none, none};
  const std::size_t own = filterRank(filter);
  transform::putOwn(at, filter, readingOf(row));
  const double comparison = inputs_->references[row.reference].comparison;
  comparisons[own] = comparison;
  for (const char partnerFilter : transform.role.partners) {
    const std::size_t slot = filterRank(partnerFilter);
    if (row.group != noGroup) {
      // The set's row of that filter, alone.
      for (std::uint32_t i = set.begin; i < set.end; ++i) {
        const RowInputs& other = inputs_->rows[sets_->grouped[i]];
        if (*standardFilterOf(other) != partnerFilter) continue;
        transform::putPartner(at, partnerFilter, {}, readingOf(other), readingOf(other));
        comparisons[slot] = inputs_->references[other.reference].comparison;
      }
      continue;
    }
    const std::optional<RowRun>& series = seriesOfStar(row.star).bySlot[slot];
    const auto partner = series ? partnerIn(*sets_, *series, *inputs_, row, window_) : std::nullopt;
    if (!partner) return {.fate = Fate::noPartner};
    const RowInputs& first = inputs_->rows[partner->first];
    const RowInputs& second = inputs_->rows[partner->second];
    transform::putPartner(at, partnerFilter, *partner, readingOf(first), readingOf(second));
    comparisons[slot] = inputs_->references[first.reference].comparison;
  }
  return finishRow(transform, at, comparisons, comparison);
}

RowResult finishRow(const transform::FilterTransform& transform,
                    const transform::EquationValues& at, const std::array<double, 4>& comparisons,
                    double comparison) {
  RowResult out{.transform = &transform, .comparison = comparison};
  out.result = transform::solve(transform, at.target);
  if (transform::errorTooLarge(out.result)) return {.fate = Fate::errorTooLarge};
  const transform::FilterRole& role = transform.role;
  if (role.equation == transform::Equation::alone) {
    out.colour = transform.targetColour;
  } else {
    out.colour = out.result.colourDifference +
                 comparisons[filterRank(transform::bluerOf(role.index))] -
                 comparisons[filterRank(transform::redderOf(role.index))];
  }
  // A filter alone transforms its check star only with the check star's colour.
  const bool checkColourKnown =
      role.equation != transform::Equation::alone || transform.checkColourDifference.has_value();
  if (at.checkComplete && checkColourKnown) {
    out.checkOffset = transform::solveCheck(transform, at.check);
  }
  return out;
}

}  // namespace varistellar::report_transform
