// What `varistellar convert` is asked to do, and the files that follow from
// it: one night per FOLDER, each one filter's table and parameter file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "run/run_context.h"
#include "transform/colour_option.h"

namespace varistellar::convert {

// The options as the user gave them.
struct ConvertOptions {
  std::vector<std::string> folders{};  // none: the current folder
  std::optional<std::string> table{};
  std::optional<std::string> parameters{};
  std::optional<std::string> report{};
  run::DateKind date = run::DateKind::hjd;
  bool dateGiven = false;  // --date was given, not taken by default
  bool checkStar = false;
  std::optional<std::string> plot{};
  bool quiet = false;
  std::optional<std::string> transform{};  // the coefficient file
  std::optional<transform::ColourOption> colour{};
  // How far apart two filters' observations may be to be paired.
  double pairWithinMinutes = 10.0;
  std::string pairWithinText = "10";  // as the user wrote it, for messages
  // --merr check-scatter:W, the window's width; none: MERR is the table's error.
  std::optional<std::size_t> scatterWidth{};
};

// One filter's night: its light-curve table and its parameter file.
struct NightFiles {
  std::string tableFile;
  std::string parameterFile;
  // Why FOLDER holds no table to take without --table; empty when it does.
  std::string tableProblem{};
};

struct ConvertPlan {
  std::vector<NightFiles> nights;  // in the order of the FOLDERs
  std::string reportFile;
  std::string plotFile;  // empty: no picture
  run::DateKind date = run::DateKind::hjd;
  bool dateGiven = false;
  bool checkStar = false;
  bool quiet = false;
  std::string coefficientFile;  // empty: no transformation
  std::optional<transform::ColourOption> colour{};
  double pairWithinMinutes = 10.0;
  std::string pairWithinText = "10";
  std::optional<std::size_t> scatterWidth{};
};

// Each file named by its option, or the standard name in its FOLDER.
[[nodiscard]] ConvertPlan convertPlan(const ConvertOptions& options);

}  // namespace varistellar::convert
