// The detector asked from outside: the page has no other way to reach it.
#include "cli/identify_command.h"

#include "console/console.h"
#include "diagnostics/quoted.h"
#include "file_kind/file_kind.h"

namespace varistellar::cli {

int runIdentifyCommand(std::span<const std::string> files) {
  for (const std::string& file : files) {
    // The kind stands after the last ": ", which no shown name can hide.
    console::printLine(diagnostics::shownName(file) + ": " +
                       file_kind::describedKind(file_kind::fileKindOfFile(file)));
  }
  return 0;
}

}  // namespace varistellar::cli
