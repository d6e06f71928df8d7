// The observer's command line: what the arguments ask for, as a value.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "convert/convert_options.h"
#include "report_transform/transform_command.h"

namespace varistellar::cli {

enum class CommandKind {
  interactive,
  convert,
  check,
  transform,
  identify,
  help,
  version,
  usageError
};

struct Command {
  CommandKind kind = CommandKind::interactive;
  convert::ConvertOptions convert{};               // for `convert`
  std::vector<std::string> files{};                // for `check` and `--identify`
  report_transform::TransformOptions transform{};  // for `transform`
  std::string usageError{};                        // for a usage error: what was wrong
  // Folders or files given alone, as Windows passes them when they are
  // dropped on the program: `convert` of a night, or `check` of reports.
  bool dropped = false;
};

// No arguments is the interactive conversion; an existing folder, or a
// night's files of one folder, is `convert` of that folder, and reports alone
// are `check`ed; anything else the parser does not know is a usage error that
// names it. `--identify FILE...` tells the web page what each file is.
[[nodiscard]] Command parseCommandLine(std::span<const std::string> arguments);

// The text of --help, lines ended with LF.
[[nodiscard]] std::string helpText();

}  // namespace varistellar::cli
