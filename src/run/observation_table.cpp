// The observation table's growth.
#include <new>

#include "run/observations.h"

namespace varistellar::run {

bool ObservationTable::take(const Observation& observation, std::uint64_t /*line*/) {
  if (n_ % blockSize == 0 && n_ / blockSize == blocks_.size()) {
    // A block's columns are filled before they are read: no need to clear it.
    std::unique_ptr<Block> added{new (std::nothrow) Block};
    if (!added) return false;
    try {
      blocks_.push_back(std::move(added));
    } catch (const std::bad_alloc&) {
      return false;
    }
  }
  Block& last = *blocks_[n_ / blockSize];
  const std::size_t i = n_ % blockSize;
  last.JDHEL[i] = observation.JDHEL;
  last.V_C[i] = observation.V_C;
  last.s1[i] = observation.s1;
  last.AIRMASS[i] = observation.AIRMASS;
  last.STD[i] = 0.0;
  ++n_;
  return true;
}

}  // namespace varistellar::run
