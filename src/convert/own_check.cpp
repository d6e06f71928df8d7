// Reading the report back through the checker.
#include "convert/own_check.h"

#include "check/report_check.h"
#include "cli/console.h"

namespace varistellar::convert {

using diagnostics::Severity;

OwnCheck checkOwnReport(const ReportOutput& output, const std::string& reportFile) {
  OwnCheck result;
  if (output.inPlace()) return result;
  const check::ReportCheck read =
      check::checkReportFile(output.writtenFile(), reportFile, result.findings);
  if (!read.readable) {
    result.findings.error(reportFile, 0, 0,
                          "cannot read the report back to check it: " + read.readFailure);
  }
  result.passed = !result.findings.hasErrors();
  return result;
}

void printOwnCheck(const OwnCheck& check, bool quiet) {
  for (const diagnostics::Diagnostic& d : check.findings.all()) {
    // The count of observation lines is the summary's own.
    if (d.ruleId == "F10") continue;
    if (check.passed && (d.severity == Severity::error || (quiet && d.severity == Severity::note)))
      continue;
    if (!check.passed && d.severity != Severity::error) continue;
    cli::printErrorLine(diagnostics::formatDiagnostic(d));
  }
  if (!check.passed) {
    cli::printErrorLine(
        "varistellar: the report failed its own check, which is a defect of convert; nothing was "
        "written");
  }
}

}  // namespace varistellar::convert
