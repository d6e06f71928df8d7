// The options of `convert`, `check` and `transform`: each command's table,
// read by one loop over the arguments and printed by --help.
#pragma once

#include <span>
#include <string>

#include "cli/command_line.h"

namespace varistellar::cli {

[[nodiscard]] Command parseConvert(std::span<const std::string> arguments);
[[nodiscard]] Command parseCheck(std::span<const std::string> arguments);
[[nodiscard]] Command parseTransform(std::span<const std::string> arguments);

// --help's "Options of convert:" and "Options of transform:" entries.
[[nodiscard]] std::string convertOptionsHelp();
[[nodiscard]] std::string transformOptionsHelp();

}  // namespace varistellar::cli
