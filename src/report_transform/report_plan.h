// How each row of a finished report is transformed: the equation of its
// filter in the set of filters of its star (its time series) or of its
// GROUP, the coefficients those equations take, and, row by row, the
// result or the reason it stays as it was. Planned once after the report
// is read; each row is solved only when it is written, so that no result
// is kept in memory.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "report_transform/report_inputs.h"
#include "report_transform/row_sets.h"
#include "transform/night_transforms.h"
#include "transform/paired_values.h"

namespace varistellar::report_transform {

// What becomes of a row that could be transformed.
enum class Fate : std::uint8_t {
  transformed,
  noDate,          // GROUP na and a DATE that is neither JD nor HJD: no time to pair at
  unsupportedSet,  // its filters are no set that transforms together
  noColour,        // a filter alone, and no --colour
  noPartner,       // no partner observation within the window
  errorTooLarge,   // the transformed MERR would be 1.0 or more
};

struct RowResult {
  Fate fate = Fate::transformed;
  const transform::FilterTransform* transform = nullptr;
  transform::Transformed result{};
  double comparison = 0.0;              // Xc: the standard magnitude is Xc + result.offset
  double colour = 0.0;                  // the target's standard colour the row states
  std::optional<double> checkOffset{};  // the check star's transformed offset from Xc
};

// A row's result once its own and its partners' values are in `at`:
// solved, its stated colour, its check star's; `comparisons` holds Xc of
// each standard filter that entered, `comparison` the row's own.
[[nodiscard]] RowResult finishRow(const transform::FilterTransform& transform,
                                  const transform::EquationValues& at,
                                  const std::array<double, 4>& comparisons, double comparison);

class ReportPlan {
 public:
  // Nothing (each fault reported) when a needed coefficient is missing or
  // makes the equations meaningless, or when --colour would serve the rows
  // of more than one star (it gives one star's colours).
  [[nodiscard]] static std::optional<ReportPlan> make(const ReportInputs& inputs,
                                                      const RowSets& sets,
                                                      const transform::TransformSetting& setting,
                                                      transform::PairingWindow window,
                                                      diagnostics::DiagnosticSink& findings);

  // Row `index` of the report, one whose `why` is none.
  [[nodiscard]] RowResult solve(std::uint32_t index) const;
  // Every transformation some row may take, in the order first needed.
  [[nodiscard]] const std::vector<transform::FilterTransform>& transforms() const {
    return transforms_;
  }
  // The transformations that transform at least one row, in that order:
  // the ones the report's #TRANSFORM lines name.
  [[nodiscard]] std::vector<transform::FilterTransform> usedTransforms() const;

 private:
  // The equations of one set of filters: a transformation for each of its
  // standard filters (B, V, R, I), or why its rows are kept.
  struct SetPlan {
    Fate fate = Fate::transformed;
    std::array<std::int16_t, 4> transformOf{-1, -1, -1, -1};
  };
  static constexpr std::int16_t noTransform = -1;
  // A set's plan follows from its standard filters alone, so there is one
  // plan for each combination (B = 1, V = 2, R = 4, I = 8), not one per star
  // or per GROUP set.
  static constexpr std::size_t combinations = 16;
  using PlanTable = std::array<std::optional<SetPlan>, combinations>;

  ReportPlan(const ReportInputs& inputs, const RowSets& sets, transform::PairingWindow window)
      : inputs_{&inputs}, sets_{&sets}, window_{window} {}
  // The plan of a set of standard filters; its roles added to `roles`.
  [[nodiscard]] SetPlan planSet(const std::vector<char>& filters, bool repeated,
                                const std::optional<transform::ColourIndex>& colourIndex,
                                std::vector<transform::FilterRole>& roles) const;
  // The plan of a row's series or set, and the set for a row with a GROUP.
  [[nodiscard]] const SetPlan* planOf(const RowInputs& row, RowRun& set) const;

  // A star's time series in each standard filter, and its combination.
  struct StarSeries {
    std::optional<std::uint32_t> star;
    std::array<std::optional<RowRun>, 4> bySlot{};
    std::size_t combination = 0;
  };
  // The series of the star asked for; rows come star by star, so that most
  // rows take their star's from the last one asked for, without a search.
  [[nodiscard]] const StarSeries& seriesOfStar(std::uint32_t star) const;

  const ReportInputs* inputs_;
  const RowSets* sets_;
  mutable StarSeries lastStar_;
  transform::PairingWindow window_;
  std::vector<transform::FilterTransform> transforms_;
  PlanTable seriesPlans_;                              // a star's time series, by its filters
  PlanTable groupPlans_;                               // a GROUP set of distinct filters, by them
  SetPlan repeatedSet_{.fate = Fate::unsupportedSet};  // a set with a filter twice
};

}  // namespace varistellar::report_transform
