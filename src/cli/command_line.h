// The observer's command line: what the arguments ask for, as a value.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "convert/convert_options.h"
#include "report_transform/transform_command.h"

namespace varistellar::cli {

enum class CommandKind { interactive, convert, check, transform, help, version, usageError };

struct Command {
  CommandKind kind = CommandKind::interactive;
  convert::ConvertOptions convert{};               // for `convert`
  std::vector<std::string> files{};                // for `check`
  report_transform::TransformOptions transform{};  // for `transform`
  std::string usageError{};                        // for a usage error: what was wrong
  // A night's folder or files given alone, as Windows passes them when they
  // are dropped on the program: `convert` of that folder.
  bool dropped = false;
};

// No arguments is the interactive conversion; an existing folder, or files
// of one folder, is `convert` of that folder; anything else the parser does
// not know is a usage error that names it.
[[nodiscard]] Command parseCommandLine(std::span<const std::string> arguments);

// The text of --help, lines ended with LF.
[[nodiscard]] std::string helpText();

}  // namespace varistellar::cli
