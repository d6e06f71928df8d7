// The check command: each file in turn, its findings, then its summary line.
#include "check/check_command.h"

#include "check/report_check.h"
#include "console/console.h"
#include "diagnostics/diagnostic.h"
#include "diagnostics/quoted.h"

namespace varistellar::check {

int runCheckCommand(const std::vector<std::string>& files) {
  bool unreadable = false;
  bool errors = false;
  for (const std::string& file : files) {
    diagnostics::DiagnosticList findings;
    const ReportCheck result = checkReportFile(file, findings);
    if (!result.readable) {
      unreadable = true;
      console::printErrorLine(diagnostics::shownName(file) +
                              ": error: cannot read: " + result.readFailure);
      continue;
    }
    for (const diagnostics::Diagnostic& d : findings.all())
      console::printLine(diagnostics::formatDiagnostic(d));
    using diagnostics::Severity;
    errors = errors || findings.hasErrors();
    console::printLine(diagnostics::shownName(file) + ": " + std::to_string(result.observations) +
                       " observations, " + std::to_string(findings.count(Severity::error)) +
                       " errors, " + std::to_string(findings.count(Severity::warning)) +
                       " warnings, " + std::to_string(findings.count(Severity::note)) + " notes");
  }
  return unreadable ? 2 : errors ? 1 : 0;
}

}  // namespace varistellar::check
