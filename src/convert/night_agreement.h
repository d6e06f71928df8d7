// The nights of one report must be of one star, by one observer, against one
// comparison and one check star, each in a filter of its own.
#pragma once

#include <vector>

#include "convert/convert_options.h"
#include "diagnostics/diagnostic.h"
#include "night/parameter_file.h"

namespace varistellar::convert {

// Compares every night's parameter file with the first's, and the filters
// with each other; each difference is an error at its file and line. False
// when there is one.
[[nodiscard]] bool nightsAgree(const std::vector<NightFiles>& files,
                               const std::vector<night::NightParameters>& nights,
                               diagnostics::DiagnosticSink& findings);

}  // namespace varistellar::convert
