// How many findings of one kind are listed: a file that is not what it should
// be can hold an error on every line, and a million lines of them hide the
// one message that says what is wrong.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "diagnostics/diagnostic.h"

namespace varistellar::diagnostics {

// Lets the first `limit` findings of each kind through and counts the rest.
class ListingLimit {
 public:
  static constexpr std::size_t defaultLimit = 100;

  explicit ListingLimit(std::size_t limit = defaultLimit) : limit_{limit} {}

  // True when the finding is to be listed: it has no kind, or fewer than
  // `limit` of its kind have been.
  [[nodiscard]] bool admit(const Diagnostic& diagnostic);
  // For each kind with findings that were not listed, in the order the kinds
  // were first seen, one finding of the same file and severity that says how
  // many more there were. The counting then starts anew.
  [[nodiscard]] std::vector<Diagnostic> takeUnlisted();

 private:
  struct Tally {
    const FindingKind* kind;
    std::string file;  // of the kind's first finding
    Severity severity;
    std::size_t listed = 0;
    std::size_t unlisted = 0;
  };

  std::size_t limit_;
  std::vector<Tally> tallies_;  // a few kinds at most
};

}  // namespace varistellar::diagnostics
