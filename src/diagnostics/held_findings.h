// Findings held back, to be reported later in the order they were made: a
// night read on a thread of its own reports nothing until the nights before
// it have. Of each kind at most as many are kept as can ever be listed; the
// rest are only counted, so that memory stays bounded however many there are.
#pragma once

#include <cstddef>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "diagnostics/listing_limit.h"

namespace varistellar::diagnostics {

class HeldFindings final : public DiagnosticSink {
 public:
  void report(Diagnostic diagnostic) override;
  // Reports every finding to `sink` as it was made: the kept ones in order,
  // then those of each kind past its limit (which `sink` counts but, having
  // listed as many of the kind already, does not list).
  void replayTo(DiagnosticSink& sink);

 private:
  struct Counted {
    Diagnostic example;
    std::size_t kept = 0;
    std::size_t more = 0;
  };

  std::vector<Diagnostic> kept_;
  std::vector<Counted> kinds_;  // a few kinds at most
};

}  // namespace varistellar::diagnostics
