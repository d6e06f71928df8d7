// convert's summary on standard output: what each table held and what was
// written, the stars, the dates and the report.
#pragma once

#include <string>
#include <vector>

#include "convert/night_conversion.h"
#include "run/run_context.h"

namespace varistellar::convert {

[[nodiscard]] std::vector<std::string> summaryLines(
    const std::vector<const NightConversion*>& nights, run::DateKind date,
    const std::string& reportFile);

}  // namespace varistellar::convert
