// The transformation of a report's rows.
#include "report_transform/report_plan.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

#include "convert/transformed_values.h"
#include "transform/filter_sets.h"

namespace varistellar::report_transform {
namespace {

using transform::FilterRole;
using transform::slotOf;

bool sameRole(const FilterRole& a, const FilterRole& b) {
  return a.filter == b.filter && a.equation == b.equation && a.index == b.index;
}

constexpr double none = std::numeric_limits<double>::quiet_NaN();

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
    plan.transformOf[slotOf(role.filter)] = static_cast<std::int16_t>(found - roles.begin());
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
  plan.stars_.resize(inputs.stars.size());
  for (std::uint32_t star = 0; star < inputs.stars.size(); ++star) {
    const std::vector<char> filters = sets.seriesFilters(star);
    if (!filters.empty()) plan.stars_[star] = plan.planSet(filters, false, colourIndex, roles);
  }
  for (const RowRun& run : sets.sets) {
    std::vector<char> filters;
    bool repeated = false;
    for (std::uint32_t i = run.begin; i < run.end; ++i) {
      const char filter = *standardFilterOf(inputs.rows[sets.grouped[i]]);
      repeated = repeated || std::find(filters.begin(), filters.end(), filter) != filters.end();
      filters.push_back(filter);
    }
    plan.groupPlans_.push_back(plan.planSet(filters, repeated, colourIndex, roles));
  }
  auto planned = transform::planRoles(setting, roles, findings);
  if (!planned) return std::nullopt;
  plan.transforms_ = std::move(*planned);
  return plan;
}

const ReportPlan::SetPlan* ReportPlan::planOf(const RowInputs& row, std::size_t& setIndex) const {
  if (row.group == noGroup) return &stars_[row.star];
  const auto& runs = sets_->sets;
  const auto found =
      std::lower_bound(runs.begin(), runs.end(), std::tuple{row.star, row.group},
                       [](const RowRun& run, const std::tuple<std::uint32_t, std::uint32_t>& key) {
                         return std::tuple{run.star, run.group} < key;
                       });
  setIndex = static_cast<std::size_t>(found - runs.begin());
  return &groupPlans_[setIndex];
}

RowResult ReportPlan::solve(std::uint32_t index) const {
  const RowInputs& row = inputs_->rows[index];
  if (row.group == noGroup && std::isnan(row.date)) return {.fate = Fate::noDate};
  std::size_t setIndex = 0;
  const SetPlan& plan = *planOf(row, setIndex);
  if (plan.fate != Fate::transformed) return {.fate = plan.fate};
  const char filter = *standardFilterOf(row);
  const transform::FilterTransform& transform =
      transforms_[static_cast<std::size_t>(plan.transformOf[slotOf(filter)])];

  transform::ValuesAtTime target{};
  transform::ValuesAtTime check{};
  std::array<double, 4> comparisons{none, none, none, none};
  const std::size_t own = slotOf(filter);
  target[own] = {row.x, row.sx()};
  check[own] = {row.checkX, 0.0};
  const double comparison = inputs_->references[row.reference].comparison;
  comparisons[own] = comparison;
  bool checkComplete = !std::isnan(row.checkX);
  for (const char partnerFilter : transform.role.partners) {
    const std::size_t slot = slotOf(partnerFilter);
    if (row.group != noGroup) {
      // The set's row of that filter, alone.
      const RowRun& run = sets_->sets[setIndex];
      for (std::uint32_t i = run.begin; i < run.end; ++i) {
        const RowInputs& other = inputs_->rows[sets_->grouped[i]];
        if (*standardFilterOf(other) != partnerFilter) continue;
        target[slot] = {other.x, other.sx()};
        check[slot] = {other.checkX, 0.0};
        comparisons[slot] = inputs_->references[other.reference].comparison;
        checkComplete = checkComplete && !std::isnan(other.checkX);
      }
      continue;
    }
    const RowRun* series = sets_->seriesOf(row.star, partnerFilter);
    const auto partner =
        series == nullptr ? std::nullopt : partnerIn(*sets_, *series, *inputs_, row, window_);
    if (!partner) return {.fate = Fate::noPartner};
    const RowInputs& first = inputs_->rows[partner->first];
    const RowInputs& second = inputs_->rows[partner->second];
    target[slot] =
        transform::partnerValue(*partner, {first.x, first.sx()}, {second.x, second.sx()});
    comparisons[slot] = inputs_->references[first.reference].comparison;
    // The check star at the partners' time, weighed alike.
    if (partner->weight == 0.0) {
      check[slot] = {first.checkX, 0.0};
      checkComplete = checkComplete && !std::isnan(first.checkX);
    } else {
      check[slot] = transform::partnerValue(*partner, {first.checkX, 0.0}, {second.checkX, 0.0});
      checkComplete = checkComplete && !std::isnan(first.checkX) && !std::isnan(second.checkX);
    }
  }
  return finish(transform, target, check, comparisons, checkComplete, comparison);
}

RowResult ReportPlan::finish(const transform::FilterTransform& transform,
                             const transform::ValuesAtTime& target,
                             const transform::ValuesAtTime& check,
                             const std::array<double, 4>& comparisons, bool checkComplete,
                             double comparison) const {
  RowResult out{.transform = &transform, .comparison = comparison};
  out.result = transform::solve(transform, target);
  if (convert::errorTooLarge(out.result)) return {.fate = Fate::errorTooLarge};
  const transform::FilterRole& role = transform.role;
  if (role.equation == transform::Equation::alone) {
    out.colour = transform.targetColour;
  } else {
    out.colour = out.result.colourDifference + comparisons[slotOf(transform::bluerOf(role.index))] -
                 comparisons[slotOf(transform::redderOf(role.index))];
  }
  // A filter alone transforms its check star only with the check star's colour.
  const bool checkColourKnown =
      role.equation != transform::Equation::alone || transform.checkColourDifference.has_value();
  if (checkComplete && checkColourKnown) out.checkOffset = transform::solveCheck(transform, check);
  return out;
}

}  // namespace varistellar::report_transform
