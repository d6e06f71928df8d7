// What Windows passes when folders or files are dropped on the program: their
// paths alone, each file sorted by what it is rather than by its name.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "cli/command_line.h"

namespace varistellar::cli {

// `convert` of a night's folder or of several, or of the folder of a night's
// files; `check` of reports dropped alone; or the usage error that says why
// the files make no night. Nothing when an argument is neither an existing
// folder nor an existing file.
[[nodiscard]] std::optional<Command> droppedCommand(std::span<const std::string> arguments);

// Why existing names given alone are no night to convert: one of them is
// missing, or folders and files were given together.
[[nodiscard]] Command droppedMisfit(std::span<const std::string> dropped);

}  // namespace varistellar::cli
