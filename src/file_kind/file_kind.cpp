// The detector: the readers' own identification first (each knows its table
// surely), then reports, damaged ones too, then coefficient and parameter files.
#include "file_kind/file_kind.h"

#include "aeff/report_beginning.h"
#include "night/parameter_file.h"
#include "night/table_formats.h"
#include "platform/platform.h"
#include "textio/line_reader.h"
#include "textio/text_kind.h"
#include "transform/coefficient_file.h"

namespace varistellar::file_kind {
namespace {

// The observer's parameter file keeps its name; a short or cut one is still
// the parameter file, whose reader then says what is missing.
bool isNamedParameterFile(std::string_view name) {
  const std::size_t slash = name.find_last_of("/\\");
  if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
  constexpr std::string_view usual = "varistellar-input";
  if (name.size() < usual.size()) return false;
  for (std::size_t i = 0; i < usual.size(); ++i) {
    const char byte = name[i];
    if ((byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte) != usual[i]) {
      return false;
    }
  }
  return true;
}

// An SVG picture, as the program draws one: the XML prolog, then the svg
// element.
bool isPictureBeginning(std::string_view beginning) {
  constexpr std::string_view prolog = "<?xml";
  const std::size_t svg = beginning.substr(0, 512).find("<svg");
  return beginning.starts_with("<svg") ||
         (beginning.starts_with(prolog) && svg != std::string_view::npos);
}

}  // namespace

FileKind fileKindOf(std::string_view beginning, std::string_view name) {
  if (textio::textKindOf(beginning) != textio::TextKind::lines) return {};
  if (const night::TableFormat* table = night::identifiedTableFormat(beginning)) {
    return {.kind = Kind::table, .table = table};
  }
  if (aeff::isReportBeginning(beginning)) return {.kind = Kind::report};
  if (isPictureBeginning(beginning)) return {.kind = Kind::picture};
  if (transform::isCoefficientFileBeginning(beginning)) return {.kind = Kind::coefficients};
  if (night::isParameterFileBeginning(beginning) || isNamedParameterFile(name)) {
    return {.kind = Kind::parameters};
  }
  return {};
}

FileKind fileKindOfFile(const std::string& path) {
  if (platform::pathKind(path) != platform::PathKind::file) return {};
  textio::LineReader reader{path};
  if (!reader.opened()) return {};
  const std::string_view beginning = reader.beginning();
  if (reader.failure().happened()) return {};
  return fileKindOf(beginning, path);
}

std::string describedKind(const FileKind& kind) {
  switch (kind.kind) {
    case Kind::table: return "table " + std::string{kind.table->program};
    case Kind::parameters: return "parameters";
    case Kind::coefficients: return "coefficients";
    case Kind::report: return "report";
    case Kind::picture: return "picture";
    case Kind::unknown: break;
  }
  return "unknown";
}

}  // namespace varistellar::file_kind
