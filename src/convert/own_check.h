// convert's check of its own report: the written file read back with the
// rules of `check` before it is put in the report's place, so that convert
// never leaves a report that check rejects.
#pragma once

#include <string>

#include "convert/report_output.h"
#include "diagnostics/diagnostic.h"

namespace varistellar::convert {

struct OwnCheck {
  diagnostics::DiagnosticList findings;  // named after the report, not its temporary file
  bool passed = true;                    // false on an error, or when the file cannot be read back
};

// Reads the finished, not yet committed report. A report written straight to
// a device cannot be read back and passes unchecked.
[[nodiscard]] OwnCheck checkOwnReport(const ReportOutput& output, const std::string& reportFile);

// Prints what the check found: its errors and why nothing was written when it
// failed; else its warnings, and its notes unless `quiet`.
void printOwnCheck(const OwnCheck& check, bool quiet);

}  // namespace varistellar::convert
