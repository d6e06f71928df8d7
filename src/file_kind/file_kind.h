// What a file is, told once for every caller (convert's search for a table,
// the desktop drop, the web page) from its first bytes, and from its name
// only where they cannot tell.
#pragma once

#include <string>
#include <string_view>

#include "night/table_format.h"

namespace varistellar::file_kind {

// A picture is the program's own (a night drawn as SVG): passed over where a
// night's files are gathered, as the night's old report is.
enum class Kind { table, parameters, coefficients, report, picture, unknown };

struct FileKind {
  Kind kind = Kind::unknown;
  const night::TableFormat* table = nullptr;  // which program's, for a table
};

// The kind of the file named `name` whose first bytes are `beginning`.
[[nodiscard]] FileKind fileKindOf(std::string_view beginning, std::string_view name);

// The kind of the file at `path`; unknown when it cannot be read.
[[nodiscard]] FileKind fileKindOfFile(const std::string& path);

// One word for the kind, and the program for a table: "table MAGNIVEX",
// "parameters", "coefficients", "report", "picture", "unknown".
[[nodiscard]] std::string describedKind(const FileKind& kind);

}  // namespace varistellar::file_kind
