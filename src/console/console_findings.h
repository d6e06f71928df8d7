// Findings printed on standard error as they are made, up to a limit of each
// kind, and counted: what the command line's commands tell the observer.
#pragma once

#include <cstddef>

#include "console/console.h"
#include "diagnostics/diagnostic.h"
#include "diagnostics/listing_limit.h"

namespace varistellar::console {

class ConsoleFindings final : public diagnostics::DiagnosticSink {
 public:
  void report(diagnostics::Diagnostic diagnostic) override {
    if (diagnostic.severity == diagnostics::Severity::error) ++errors_;
    if (listing_.admit(diagnostic)) {
      console::printErrorLine(diagnostics::formatDiagnostic(diagnostic));
    }
  }
  // Says how many more there were of each kind past its limit.
  void printUnlisted() {
    for (const diagnostics::Diagnostic& summary : listing_.takeUnlisted()) {
      console::printErrorLine(diagnostics::formatDiagnostic(summary));
    }
  }
  [[nodiscard]] std::size_t errors() const { return errors_; }

 private:
  diagnostics::ListingLimit listing_;
  std::size_t errors_ = 0;
};

}  // namespace varistellar::console
