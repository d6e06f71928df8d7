// Rows with the same STARID, DATE and FILT: each row's fingerprint of the
// three is looked up among at least the previous `window` rows', in two
// generations of fixed tables, so memory stays flat however long the file.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "check/row.h"

namespace varistellar::check {

class Duplicates {
 public:
  Duplicates();
  // The line of an earlier row with the same STARID, DATE and FILT, if any;
  // otherwise the row is remembered. `changed` are the fields that differ
  // from the previous row's.
  [[nodiscard]] std::optional<std::uint64_t> earlier(const Row& row, FieldSet changed);

 private:
  static constexpr std::size_t window = 8192;
  static constexpr std::size_t tableSize = 2 * window;  // the tables stay half empty
  std::vector<std::uint64_t> recent_, older_;
  std::vector<std::uint64_t> recentLines_, olderLines_;
  std::size_t recentCount_ = 0;
  std::uint64_t starAndFilter_ = 0;  // the fingerprint of the last row's STARID and FILT
};

}  // namespace varistellar::check
