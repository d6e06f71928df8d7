// Fuzzes the report checker over arbitrary bytes: it must not crash, and
// every finding must point into the file (a line that exists, a column at
// most one past that line's end), the bytes fed in small pieces must give
// the same findings as fed at once, judging every row anew must give the
// same findings as reusing the verdicts of rules whose fields did not change,
// and a check for fewer severities must find exactly those of the whole one.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "check/report_check.h"
#include "check/report_checker.h"
#include "diagnostics/diagnostic.h"

namespace {

using varistellar::diagnostics::Severity;

void check(bool property, const char* what, const varistellar::diagnostics::Diagnostic& d) {
  if (!property) {
    std::fprintf(stderr, "property broken: %s for %llu:%llu [%s] %s\n", what,
                 static_cast<unsigned long long>(d.line), static_cast<unsigned long long>(d.column),
                 d.ruleId.c_str(), d.text.c_str());
    std::abort();
  }
}

// The length of each line in bytes, its line end left out; a text after the
// last line end is a line too.
std::vector<std::size_t> lineLengths(std::string_view bytes) {
  std::vector<std::size_t> lengths;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find('\n', start)) != std::string_view::npos; start = end + 1)
    lengths.push_back(end - start);
  if (start < bytes.size()) lengths.push_back(bytes.size() - start);
  return lengths;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes{reinterpret_cast<const char*>(data), size};
  varistellar::diagnostics::DiagnosticList findings;
  std::uint64_t observations = 0;
  varistellar::check::checkReportText("fuzz.txt", bytes, findings, observations);
  const std::vector<std::size_t> lengths = lineLengths(bytes);
  check(observations <= lengths.size(), "no more observations than lines", {});
  for (const auto& d : findings.all()) {
    check(d.line <= lengths.size(), "the line lies within the file", d);
    check(d.line != 0 || d.column == 0, "a finding about the whole file has no column", d);
    if (d.line != 0)
      check(d.column <= lengths[d.line - 1] + 1, "the column lies within its line", d);
    check(!d.ruleId.empty(), "every finding names its rule", d);
  }
  // In pieces of 1 to 8 bytes, as a file read across many buffers.
  const std::size_t piece = size == 0 ? 1 : data[0] % 8 + 1;
  varistellar::check::ReportChecker checker{"fuzz.txt", 1'900'000'000};
  for (std::size_t at = 0; at < size; at += piece) checker.feed(bytes.substr(at, piece));
  varistellar::diagnostics::DiagnosticList pieces;
  check(checker.finish(pieces) == observations, "the same observations in pieces", {});
  check(pieces.all().size() == findings.all().size(), "as many findings in pieces", {});
  for (std::size_t i = 0; i < pieces.all().size(); ++i) {
    check(formatDiagnostic(pieces.all()[i]) == formatDiagnostic(findings.all()[i]),
          "the same finding in pieces", pieces.all()[i]);
  }
  // Every rule asked on every row, the bytes fed at once.
  varistellar::check::ReportChecker anew{"fuzz.txt", 1'900'000'000,
                                         varistellar::diagnostics::Severity::note,
                                         varistellar::check::Memo::off};
  anew.feed(bytes);
  varistellar::diagnostics::DiagnosticList judgedAnew;
  check(anew.finish(judgedAnew) == observations, "the same observations judged anew", {});
  check(judgedAnew.all().size() == findings.all().size(), "as many findings judged anew", {});
  for (std::size_t i = 0; i < judgedAnew.all().size(); ++i) {
    check(formatDiagnostic(judgedAnew.all()[i]) == formatDiagnostic(findings.all()[i]),
          "the same finding judged anew", judgedAnew.all()[i]);
  }
  // A checker that looks only for warnings and errors, or only for errors,
  // finds exactly those of the whole check.
  for (const Severity least : {Severity::warning, Severity::error}) {
    varistellar::check::ReportChecker some{"fuzz.txt", 1'900'000'000, least};
    some.feed(bytes);
    varistellar::diagnostics::DiagnosticList found;
    check(some.finish(found) == observations, "the same observations for fewer findings", {});
    std::vector<std::string> expected;
    for (const auto& d : findings.all()) {
      if (static_cast<int>(d.severity) <= static_cast<int>(least))
        expected.push_back(formatDiagnostic(d));
    }
    check(found.all().size() == expected.size(), "as many findings of the kept severities", {});
    for (std::size_t i = 0; i < found.all().size() && i < expected.size(); ++i) {
      check(formatDiagnostic(found.all()[i]) == expected[i], "the same finding of a kept severity",
            found.all()[i]);
    }
  }
  return 0;
}
