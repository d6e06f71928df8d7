// The command line's reading of the two input files: line by line, stricter
// than the interactive run, every fault reported with its file, line and
// column, since a silent misreading puts wrong magnitudes into the AAVSO's
// database.
#pragma once

#include <cstdint>
#include <string>

#include "diagnostics/diagnostic.h"
#include "run/observations.h"

namespace varistellar::run {

// Reads the parameter file: text values whole, without the blanks and TABs
// at their ends; an empty chart or check star becomes "na". False when the
// file cannot be read or holds an error (each one reported).
[[nodiscard]] bool readParameterLines(const std::string& file, ObserverParameters& parameters,
                                      diagnostics::DiagnosticSink& findings);

struct TableCounts {
  std::uint64_t observationLines = 0;  // lines that hold values
  std::uint64_t kept = 0;
  std::uint64_t dropped = 0;  // V-C above 90
  std::uint64_t errors = 0;
};

// Reads the light-curve table: two header lines, then exactly ten plain
// decimal numbers per line; blank lines are passed over. Hands every kept
// observation to `sink` with its line. False when the file cannot be read,
// holds an error, or the sink refused an observation.
[[nodiscard]] bool readTableLines(const std::string& file, ObservationSink& sink,
                                  diagnostics::DiagnosticSink& findings, TableCounts& counts);

}  // namespace varistellar::run
