// What `varistellar convert` is asked to do, and the files that follow from
// it: one night per FOLDER, each one filter's table and parameter file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "run/run_context.h"

namespace varistellar::convert {

// The options as the user gave them.
struct ConvertOptions {
  std::vector<std::string> folders{};  // none: the current folder
  std::optional<std::string> table{};
  std::optional<std::string> parameters{};
  std::optional<std::string> report{};
  run::DateKind date = run::DateKind::hjd;
  bool checkStar = false;
  std::optional<std::string> plot{};
  bool quiet = false;
};

// One filter's night: its light-curve table and its parameter file.
struct NightFiles {
  std::string tableFile;
  std::string parameterFile;
};

struct ConvertPlan {
  std::vector<NightFiles> nights;  // in the order of the FOLDERs
  std::string reportFile;
  std::string plotFile;  // empty: no picture
  run::DateKind date = run::DateKind::hjd;
  bool checkStar = false;
  bool quiet = false;
};

// Each file named by its option, or the standard name in its FOLDER.
[[nodiscard]] ConvertPlan convertPlan(const ConvertOptions& options);

}  // namespace varistellar::convert
