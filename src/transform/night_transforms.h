// How each filter of a night is transformed: its equation, the coefficients
// it takes from the coefficient file, the comparison's colour, and what its
// records say of it. Planned once, before any observation is read; every
// fault of the coefficient file or of the set of filters is reported then.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "night/parameter_file.h"
#include "transform/coefficient_file.h"
#include "transform/colour_option.h"
#include "transform/equations.h"
#include "transform/filter_order.h"
#include "transform/filter_sets.h"

namespace varistellar::transform {

struct FilterTransform {
  FilterRole role;
  std::string reportedFilter{};  // B for TB: the standard filter it becomes
  // The coefficients the equation takes, by filter (B, V, R, I).
  std::array<CoefficientValue, 4> coefficients{};
  // The comparison's standard colour in the role's index, from the
  // catalogue magnitudes of the parameter files; for a filter alone, the
  // colour difference T - C and the check star's K - C.
  double comparisonColour = 0.0;
  double colourDifference = 0.0;
  std::optional<double> checkColourDifference{};
  double targetColour = 0.0;  // T, for a filter alone
  // Each partner filter's night, in the order of role.partners.
  std::vector<std::size_t> partnerNights{};
  // "|Tv_bv=-0.0467|Tv_bvERR=0.0070|BVCOLOR=": the NOTES a transformed
  // record carries before its colour.
  std::string notesBeforeColour{};
  // "Tv_bv=-0.0467 +/- 0.0070": the coefficient as the #TRANSFORM line gives it.
  std::string coefficientText{};
};

// What the transformation of the night needs to know.
struct TransformSetting {
  const CoefficientFile& coefficients;
  std::string coefficientPath;
  std::optional<ColourOption> colour{};
};

// One filter's night as the plan sees it.
struct PlannedNight {
  const night::NightParameters& parameters;
  const std::string& parameterFile;
};

// Each night's transformation, in the order of the nights; nothing (each
// fault reported) when they cannot be transformed. A single night takes its
// colour from --colour.
[[nodiscard]] std::optional<std::vector<FilterTransform>> planTransforms(
    const TransformSetting& setting, const std::vector<PlannedNight>& nights,
    diagnostics::DiagnosticSink& findings);

// A night of several whose partners hold no observation, transformed with
// its colour from --colour; nothing (faults reported) when it cannot be.
[[nodiscard]] std::optional<FilterTransform> planAlone(const TransformSetting& setting,
                                                       const PlannedNight& night,
                                                       diagnostics::DiagnosticSink& findings);

// The transformations of the given roles, from their coefficients alone: a
// report's rows carry their comparison's magnitudes themselves, so that the
// comparison's colour is left for the caller to work out. A role alone
// takes its colour from --colour. Nothing (faults reported) when a
// coefficient is missing or a divisor too small.
[[nodiscard]] std::optional<std::vector<FilterTransform>> planRoles(
    const TransformSetting& setting, const std::vector<FilterRole>& roles,
    diagnostics::DiagnosticSink& findings);

// "#TRANSFORM Tv_bv=-0.0467 +/- 0.0070 (tg.ini)" for each filter's own
// coefficient, in the order B, V, R, I; the file's name printable ASCII only.
[[nodiscard]] std::vector<std::string> transformCommentLines(
    const std::vector<FilterTransform>& transforms, const std::string& coefficientPath);

// The values an equation takes at one time, by filter (B, V, R, I).
using ValuesAtTime = std::array<Instrumental, 4>;

// The filter's standard magnitude minus its comparison's, its error and
// the colour difference used.
[[nodiscard]] Transformed solve(const FilterTransform& transform, const ValuesAtTime& values);
// The same for the check star, whose own colour differs: its offset only.
[[nodiscard]] double solveCheck(const FilterTransform& transform, const ValuesAtTime& values);
// The target's standard colour the record states.
[[nodiscard]] double statedColour(const FilterTransform& transform, const Transformed& result);

}  // namespace varistellar::transform
