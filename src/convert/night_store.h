// The written observations of several nights, kept until every night is
// read and then handed on in time order: by DATE, and for equal dates in
// the order of the FOLDERs, then of the tables' lines. Each takes 48 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "convert/observation_listener.h"
#include "night/parameter_file.h"
#include "report/record_forms.h"

namespace varistellar::convert {

class NightStore final : public ObservationListener {
 public:
  NightStore(const std::vector<night::NightParameters>& nights, bool withCheckStar);

  // Keeps the observation; its record is made again when it is handed on.
  void take(const ConvertedObservation& observation) override;
  // Hands every kept observation to `listener` in time order, with its
  // record, and lets go of them.
  void handOn(ObservationListener& listener);

 private:
  // What a record and the picture need again of one observation.
  struct Kept {
    double DATE;
    double VMAGINS;
    double MERR;
    double AIRMASS;
    double KMAGINS;  // NaN: the check star was not measured
    float checkError;
    std::uint32_t order;  // within its night, so that sorting keeps file order
  };
  static_assert(sizeof(Kept) == 48);

  struct Night {
    const night::NightParameters* parameters;
    std::deque<Kept> kept;
    bool inOrder = true;
  };

  std::vector<Night> nights_;
  bool withCheckStar_;
};

}  // namespace varistellar::convert
