// What `convert --check-star` asks of the parameter file, and what it tells
// the observer about the check star after the night.
#pragma once

#include <string>
#include <vector>

#include "check_star/check_star_statistics.h"
#include "diagnostics/diagnostic.h"
#include "run/observations.h"

namespace varistellar::check_star {

// A check star and two catalogue magnitudes that the report's magnitude
// fields can hold; each failing line reported. False when one fails.
bool checkStarParametersUsable(const run::ObserverParameters& parameters,
                               const std::string& parameterFile,
                               diagnostics::DiagnosticSink& findings);

// The statistics line, then the rows that stray beyond three standard
// deviations, each with its table line.
[[nodiscard]] std::vector<std::string> checkStarSummaryLines(
    const run::ObserverParameters& parameters, const CheckStarStatistics& statistics,
    const std::string& tableFile);

}  // namespace varistellar::check_star
