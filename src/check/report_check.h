// Checks a whole report against every rule, reading it once, front to back,
// in flat memory.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "check/report_listener.h"
#include "diagnostics/diagnostic.h"

namespace varistellar::check {

struct ReportCheck {
  bool readable = true;
  std::string readFailure;  // the system's message when not readable
  std::uint64_t observations = 0;
};

// Findings name the file as `path`. An unreadable file adds no finding.
[[nodiscard]] ReportCheck checkReportFile(const std::string& path,
                                          diagnostics::DiagnosticList& findings);
// The same, with findings naming the file as `name` (a file read under
// another name, such as a report before it is put in its place).
[[nodiscard]] ReportCheck checkReportFile(const std::string& path, std::string_view name,
                                          diagnostics::DiagnosticList& findings);
// The same, with every line told to `listener` as it is read.
[[nodiscard]] ReportCheck checkReportFile(const std::string& path,
                                          diagnostics::DiagnosticList& findings,
                                          ReportListener& listener);

// The same checks over bytes in memory, for tests and fuzzing. `todaySeconds`
// is the time of day that later dates are judged against (seconds since 1970).
// True, with the one F1 finding that says why, when a report's first bytes
// are UTF-16: every rule would fail on every line of it.
[[nodiscard]] bool refusedAsUtf16(std::string_view name, std::string_view firstBytes,
                                  diagnostics::DiagnosticList& findings);

void checkReportText(std::string_view name, std::string_view bytes,
                     diagnostics::DiagnosticList& findings, std::uint64_t& observations,
                     std::int64_t todaySeconds = 1'900'000'000);
void checkReportText(std::string_view name, std::string_view bytes,
                     diagnostics::DiagnosticList& findings, std::uint64_t& observations,
                     ReportListener& listener, std::int64_t todaySeconds = 1'900'000'000);

}  // namespace varistellar::check
