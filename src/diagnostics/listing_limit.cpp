// Listing findings up to a limit of each kind.
#include "diagnostics/listing_limit.h"

#include <algorithm>

namespace varistellar::diagnostics {

bool ListingLimit::admit(const Diagnostic& diagnostic) {
  if (diagnostic.kind == nullptr) return true;
  auto tally = std::find_if(tallies_.begin(), tallies_.end(),
                            [&](const Tally& t) { return t.kind == diagnostic.kind; });
  if (tally == tallies_.end()) {
    tally = tallies_.insert(tallies_.end(),
                            Tally{diagnostic.kind, diagnostic.file, diagnostic.severity});
  }
  if (tally->listed < limit_) {
    ++tally->listed;
    return true;
  }
  ++tally->unlisted;
  return false;
}

std::vector<Diagnostic> ListingLimit::takeUnlisted() {
  std::vector<Diagnostic> summaries;
  for (const Tally& tally : tallies_) {
    if (tally.unlisted == 0) continue;
    std::string text = std::to_string(tally.unlisted) + " ";
    text.append(tally.unlisted == 1 ? tally.kind->one : tally.kind->many);
    text.append("; the first ").append(std::to_string(tally.listed)).append(" are listed");
    summaries.push_back({tally.file, 0, 0, tally.severity, std::move(text)});
  }
  tallies_.clear();
  return summaries;
}

}  // namespace varistellar::diagnostics
