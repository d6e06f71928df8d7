// Fuzzes the report checker over arbitrary bytes: it must not crash, and
// every finding must point into the file (a line that exists, a column at
// most one past that line's end).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "check/report_check.h"
#include "diagnostics/diagnostic.h"

namespace {

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
  return 0;
}
