// The run: one straight sequence of stages from the banner to the end.
#pragma once

#include <string_view>

#include "run/observations.h"

namespace varistellar::run {

inline constexpr std::string_view enterPrompt = ">>>Hit enter key to continue";
inline constexpr std::string_view anyKeyPrompt = ">>>Hit any key to continue";

// Exit status of a run that ends through one of its handled failures.
inline constexpr int handledFailureStatus = 1;

// The common end of every handled failure: a pause, then the end of the run.
[[noreturn]] void failureTail();

// STD = V-C + the comparison star's magnitude, for the n observations kept:
// one double addition each, rounded once.
void addComparisonMagnitude(ObservationTable& table, double comparisonMagnitude);

// The standard-magnitude stage: the sums above, then its message and pause.
void computeStandardMagnitudes(ObservationTable& table, const ObserverParameters& parameters);

// The whole conversion, from the banner to the end of the run.
[[noreturn]] void runConversion();

}  // namespace varistellar::run
