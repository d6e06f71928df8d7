// Where a table reader's results go, the same for every format: each kept
// measurement to the sink, each fault to the findings under the table's
// name, and the counts the summary tells.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "diagnostics/diagnostic.h"
#include "night/measurement.h"
#include "night/series_reader.h"

namespace varistellar::night {

struct SeriesOutlet {
  const std::string& file;
  MeasurementSink& sink;
  diagnostics::DiagnosticSink& findings;
  SeriesCounts& counts;

  // An error in the table, counted: a table with one is not converted.
  void error(std::uint64_t line, std::uint64_t column, std::string text,
             const diagnostics::FindingKind* kind = nullptr) {
    ++counts.errors;
    findings.error(file, line, column, std::move(text), kind);
  }
  void warning(std::uint64_t line, std::uint64_t column, std::string text) {
    findings.warning(file, line, column, std::move(text));
  }
};

}  // namespace varistellar::night
