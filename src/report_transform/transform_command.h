// `varistellar transform`: a finished report, whoever wrote it, transformed
// to the standard system with a coefficient file.
#pragma once

#include <optional>
#include <string>

#include "transform/colour_option.h"

namespace varistellar::report_transform {

struct TransformOptions {
  std::string report;                   // the report to transform
  std::string coefficientFile;          // --transform
  std::optional<std::string> output{};  // --output; default: beside the report
  std::optional<transform::ColourOption> colour{};
  double pairWithinMinutes = 10.0;
  std::string pairWithinText = "10";  // as the user wrote it, for messages
  bool quiet = false;                 // --quiet: only warnings and errors
};

// "night.txt" gives "night-transformed.txt", in the report's folder.
[[nodiscard]] std::string defaultOutputName(const std::string& report);

// Exit status: 0 written, 1 nothing written.
[[nodiscard]] int runTransformCommand(const TransformOptions& options);

}  // namespace varistellar::report_transform
