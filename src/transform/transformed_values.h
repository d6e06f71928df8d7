// A transformation's result put into an observation's values.
#pragma once

#include <optional>

#include "report/observation_values.h"
#include "transform/night_transforms.h"
#include "transform/paired_values.h"

namespace varistellar::transform {

// MAG and MERR on the standard system, the colour the record states, and the
// check star's standard magnitude transformed alike (`checkOffset`: its
// transformed difference from the comparison, when there is one).
void putTransformed(const transform::FilterTransform& transform,
                    const transform::Transformed& result, std::optional<double> checkOffset,
                    double comparisonMagnitude, report::ObservationValues& values);

// Transforms an observation's values with the values of its filters at its
// time, the check star too when all of its values are there; the MERR that
// leaves the observation out instead, when the report would write 1.0 or more.
[[nodiscard]] std::optional<report::ErrorTooLarge> transformValues(
    const transform::FilterTransform& transform, const transform::EquationValues& at,
    double comparisonMagnitude, report::ObservationValues& values);

// Whether the report would write the result's MERR as 1.000 or more.
[[nodiscard]] bool errorTooLarge(const transform::Transformed& result);

}  // namespace varistellar::transform
