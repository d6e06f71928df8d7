// The command line's reading of the parameter file: text values whole,
// without the blanks and TABs at their ends; magnitudes plain decimal
// numbers; every fault reported with its line and column.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "diagnostics/diagnostic.h"

namespace varistellar::night {

struct CheckStar {
  std::string id;
  double magnitude = 0.0;  // catalogue
};

// What the parameter file says about one filter's night. An empty chart is
// "na"; an empty check star is none.
struct NightParameters {
  std::string observerCode;
  std::string variableStarId;
  std::string comparisonStarId;
  double comparisonMagnitude = 0.0;  // catalogue, in this filter
  std::string filterName;
  std::string chartId;
  std::optional<CheckStar> checkStar{};
};

// What was read of a parameter file, and whether all of it was good (each
// fault is reported as it is found). What was read of a faulty file still
// lets the table be read, so that every error is listed at once.
struct ParameterReading {
  NightParameters parameters;
  bool ok = false;
};

[[nodiscard]] ParameterReading readParameterFile(const std::string& file,
                                                 diagnostics::DiagnosticSink& findings);

// True when the first bytes of a file that is no table, report or
// coefficient file look like a parameter file: ten to sixty-four short lines
// (the check star's two lines may be left out, aperture lines may follow).
[[nodiscard]] bool isParameterFileBeginning(std::string_view beginning);

// The text the report writes for the check star's name: its name, or "na".
[[nodiscard]] std::string_view checkStarName(const NightParameters& parameters);

}  // namespace varistellar::night
