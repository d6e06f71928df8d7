// What `convert --check-star` asks of the parameter file, and what it tells
// the observer about the check star after the night.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check_star/check_star_statistics.h"
#include "diagnostics/diagnostic.h"
#include "night/parameter_file.h"

namespace varistellar::check_star {

// A check star and two catalogue magnitudes that the report's magnitude
// fields can hold; each failing line reported. False when one fails.
bool checkStarParametersUsable(const night::NightParameters& parameters,
                               const std::string& parameterFile,
                               diagnostics::DiagnosticSink& findings);

// The statistics line, the line of the check star as transformed (when
// `transformed` holds any), then the rows that stray beyond three standard
// deviations, each with its table line. `name` names the check star as the
// lines do: its ID, or its ID and the filter in a night of several.
// `noneWritten` says why when the report got no line to measure it on.
[[nodiscard]] std::vector<std::string> checkStarSummaryLines(
    std::string_view name, double catalogueMagnitude, const CheckStarStatistics& statistics,
    const std::string& tableFile, const CheckStarStatistics* transformed = nullptr,
    std::string_view noneWritten = {});

// The transformation is tried on the check star too: moving it away from
// its catalogue magnitude by more than 0.020 points at the coefficients or
// the colours. The warning's text when it did, else nothing.
[[nodiscard]] std::optional<std::string> checkStarMovedAway(const CheckStarStatistics& measured,
                                                            const CheckStarStatistics& transformed,
                                                            double catalogueMagnitude);

}  // namespace varistellar::check_star
