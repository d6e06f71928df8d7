// convert's inputs and outputs must be distinct files: a report written over
// the table, or a picture over the report, would lose the night's data.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "diagnostics/diagnostic.h"

namespace varistellar::outputs {

// A file the command reads or writes, and what it is to the command.
struct FileRole {
  std::string_view role;  // "light-curve table", "report", ...
  std::string_view file;  // the path as the user gave it or convert made it
};

// Reports, as an error on the later one, each pair of files that are one
// file (by any spelling or link); the number of such pairs.
std::size_t reportSharedFiles(std::span<const FileRole> files,
                              diagnostics::DiagnosticSink& findings);

}  // namespace varistellar::outputs
