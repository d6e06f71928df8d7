// Findings and their one-line form.
#include "diagnostics/diagnostic.h"

#include <algorithm>

#include "diagnostics/quoted.h"

namespace varistellar::diagnostics {

std::string_view severityName(Severity severity) {
  switch (severity) {
    case Severity::error: return "error";
    case Severity::warning: return "warning";
    case Severity::note: return "note";
  }
  return "error";
}

std::string formatDiagnostic(const Diagnostic& diagnostic) {
  std::string text = shownName(diagnostic.file);
  text.push_back(':');
  if (diagnostic.line != 0) {
    text.append(std::to_string(diagnostic.line)).push_back(':');
    if (diagnostic.column != 0) text.append(std::to_string(diagnostic.column)).push_back(':');
  }
  text.push_back(' ');
  text.append(severityName(diagnostic.severity)).append(": ").append(diagnostic.text);
  if (!diagnostic.ruleId.empty()) text.append(" [").append(diagnostic.ruleId).push_back(']');
  return text;
}

void DiagnosticList::add(Diagnostic diagnostic) { diagnostics_.push_back(std::move(diagnostic)); }

void DiagnosticSink::error(std::string_view file, std::uint64_t line, std::uint64_t column,
                           std::string text, const FindingKind* kind) {
  report({std::string{file}, line, column, Severity::error, std::move(text), {}, kind});
}

void DiagnosticSink::warning(std::string_view file, std::uint64_t line, std::uint64_t column,
                             std::string text, const FindingKind* kind) {
  report({std::string{file}, line, column, Severity::warning, std::move(text), {}, kind});
}

std::size_t DiagnosticList::count(Severity severity) const {
  return static_cast<std::size_t>(
      std::count_if(diagnostics_.begin(), diagnostics_.end(),
                    [severity](const Diagnostic& d) { return d.severity == severity; }));
}

}  // namespace varistellar::diagnostics
