// Reading a report through a fixed buffer into its checker.
#include "check/report_check.h"

#include <array>

#include "check/report_checker.h"
#include "platform/platform.h"
#include "textio/text_kind.h"

namespace varistellar::check {

namespace {

ReportCheck readAndCheck(const std::string& path, std::string_view name,
                         diagnostics::DiagnosticList& findings, ReportListener* listener) {
  ReportCheck result;
  // A folder opens on some systems and fails only at its first read, with
  // a message that does not say what is wrong.
  if (platform::pathKind(path) == platform::PathKind::directory) {
    result.readable = false;
    result.readFailure = "it is a folder, not a file";
    return result;
  }
  const platform::OpenResult file = platform::openForReading(path);
  if (file.error != 0) {
    result.readable = false;
    result.readFailure = platform::systemErrorMessage(file.error);
    return result;
  }
  ReportChecker checker{name, platform::secondsSinceEpoch()};
  checker.listen(listener);
  static std::array<char, std::size_t{64} * 1024> buffer;
  bool isFirst = true;
  for (;;) {
    const platform::TransferResult read = platform::readSome(file.handle, buffer);
    if (read.error != 0) {
      result.readable = false;
      result.readFailure = platform::systemErrorMessage(read.error);
      (void)platform::closeFile(file.handle);
      return result;
    }
    if (read.bytes == 0) break;
    if (isFirst && refusedAsUtf16(name, {buffer.data(), read.bytes}, findings)) {
      (void)platform::closeFile(file.handle);
      return result;
    }
    isFirst = false;
    checker.feed({buffer.data(), read.bytes});
  }
  (void)platform::closeFile(file.handle);
  result.observations = checker.finish(findings);
  return result;
}

}  // namespace

bool refusedAsUtf16(std::string_view name, std::string_view firstBytes,
                    diagnostics::DiagnosticList& findings) {
  if (textio::textKindOf(firstBytes) != textio::TextKind::utf16) return false;
  findings.add({std::string{name}, 0, 0, diagnostics::Severity::error,
                std::string{textio::utf16Advice}, "F1"});
  return true;
}

ReportCheck checkReportFile(const std::string& path, diagnostics::DiagnosticList& findings) {
  return readAndCheck(path, path, findings, nullptr);
}

ReportCheck checkReportFile(const std::string& path, std::string_view name,
                            diagnostics::DiagnosticList& findings) {
  return readAndCheck(path, name, findings, nullptr);
}

ReportCheck checkReportFile(const std::string& path, diagnostics::DiagnosticList& findings,
                            ReportListener& listener) {
  return readAndCheck(path, path, findings, &listener);
}

void checkReportText(std::string_view name, std::string_view bytes,
                     diagnostics::DiagnosticList& findings, std::uint64_t& observations,
                     std::int64_t todaySeconds) {
  ReportChecker checker{name, todaySeconds};
  checker.feed(bytes);
  observations = checker.finish(findings);
}

void checkReportText(std::string_view name, std::string_view bytes,
                     diagnostics::DiagnosticList& findings, std::uint64_t& observations,
                     ReportListener& listener, std::int64_t todaySeconds) {
  ReportChecker checker{name, todaySeconds};
  checker.listen(&listener);
  checker.feed(bytes);
  observations = checker.finish(findings);
}

}  // namespace varistellar::check
