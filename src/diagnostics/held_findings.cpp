// Findings held back and replayed.
#include "diagnostics/held_findings.h"

#include <algorithm>

namespace varistellar::diagnostics {

void HeldFindings::report(Diagnostic diagnostic) {
  if (diagnostic.kind != nullptr) {
    auto counted = std::find_if(kinds_.begin(), kinds_.end(), [&](const Counted& c) {
      return c.example.kind == diagnostic.kind;
    });
    if (counted == kinds_.end()) counted = kinds_.insert(kinds_.end(), Counted{diagnostic});
    if (counted->kept == ListingLimit::defaultLimit) {
      ++counted->more;
      return;
    }
    ++counted->kept;
  }
  kept_.push_back(std::move(diagnostic));
}

void HeldFindings::replayTo(DiagnosticSink& sink) {
  for (Diagnostic& diagnostic : kept_) sink.report(std::move(diagnostic));
  for (const Counted& counted : kinds_) {
    for (std::size_t i = 0; i < counted.more; ++i) sink.report(counted.example);
  }
  kept_.clear();
  kinds_.clear();
}

}  // namespace varistellar::diagnostics
