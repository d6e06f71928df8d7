// Findings about a file, in the form editors and build tools read:
// FILE:LINE:COLUMN: SEVERITY: TEXT [ID].
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace varistellar::diagnostics {

enum class Severity { error, warning, note };

// A kind of finding that may repeat on many lines, such as a value that is
// not a number: past a limit its findings are counted rather than listed, and
// summed up in one line that ends with one of these.
struct FindingKind {
  std::string_view one;   // after a count of 1: "more value is not a plain decimal number"
  std::string_view many;  // after a larger count: "more values are not plain decimal numbers"
};

struct Diagnostic {
  std::string file;          // the path as the user gave it
  std::uint64_t line = 0;    // from 1; 0 when the finding is about the whole file
  std::uint64_t column = 0;  // from 1; 0 when no column is known
  Severity severity = Severity::error;
  std::string text;
  std::string ruleId{};               // printed in brackets after the text when not empty
  const FindingKind* kind = nullptr;  // none: always listed
};

[[nodiscard]] std::string_view severityName(Severity severity);

// The finding as one line, without its line end.
[[nodiscard]] std::string formatDiagnostic(const Diagnostic& diagnostic);

// Where a reader hands its findings as it makes them.
class DiagnosticSink {
 public:
  virtual void report(Diagnostic diagnostic) = 0;
  void error(std::string_view file, std::uint64_t line, std::uint64_t column, std::string text,
             const FindingKind* kind = nullptr);
  void warning(std::string_view file, std::uint64_t line, std::uint64_t column, std::string text,
               const FindingKind* kind = nullptr);

 protected:
  ~DiagnosticSink() = default;
};

// The findings of one command, in the order they were found.
class DiagnosticList final : public DiagnosticSink {
 public:
  void report(Diagnostic diagnostic) override { add(std::move(diagnostic)); }
  void add(Diagnostic diagnostic);

  [[nodiscard]] const std::vector<Diagnostic>& all() const { return diagnostics_; }
  [[nodiscard]] std::size_t count(Severity severity) const;
  [[nodiscard]] bool hasErrors() const { return count(Severity::error) != 0; }

 private:
  std::vector<Diagnostic> diagnostics_;
};

}  // namespace varistellar::diagnostics
