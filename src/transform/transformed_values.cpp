// Transformed values.
#include "transform/transformed_values.h"

#include "report/number_text.h"

namespace varistellar::transform {

void putTransformed(const transform::FilterTransform& transform,
                    const transform::Transformed& result, std::optional<double> checkOffset,
                    double comparisonMagnitude, report::ObservationValues& values) {
  values.MAG = comparisonMagnitude + result.offset;
  values.MERR = result.error;
  values.transformed = true;
  values.colour = transform::statedColour(transform, result);
  if (checkOffset && values.Kstd) values.transformedKstd = comparisonMagnitude + *checkOffset;
}

std::optional<report::ErrorTooLarge> transformValues(const transform::FilterTransform& transform,
                                                     const transform::EquationValues& at,
                                                     double comparisonMagnitude,
                                                     report::ObservationValues& values) {
  const transform::Transformed result = transform::solve(transform, at.target);
  if (errorTooLarge(result)) return report::ErrorTooLarge{result.error};
  std::optional<double> checkOffset;
  if (at.checkComplete) checkOffset = transform::solveCheck(transform, at.check);
  putTransformed(transform, result, checkOffset, comparisonMagnitude, values);
  return std::nullopt;
}

bool errorTooLarge(const transform::Transformed& result) {
  return result.error >= 0.999 && report::writtenMagnitudeError(result.error) >= 1.0;
}

}  // namespace varistellar::transform
