// A transformation's result put into an observation's values.
#pragma once

#include <optional>

#include "report/observation_values.h"
#include "transform/night_transforms.h"

namespace varistellar::convert {

// MAG and MERR on the standard system, the colour the record states, and the
// check star's standard magnitude transformed alike (`checkOffset`: its
// transformed difference from the comparison, when there is one).
void putTransformed(const transform::FilterTransform& transform,
                    const transform::Transformed& result, std::optional<double> checkOffset,
                    double comparisonMagnitude, report::ObservationValues& values);

// Whether the report would write the result's MERR as 1.000 or more.
[[nodiscard]] bool errorTooLarge(const transform::Transformed& result);

}  // namespace varistellar::convert
