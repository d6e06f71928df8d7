// The outputs of a conversion as listeners of one fan-out: each converted
// observation is handed to every output (the report's lines, the check
// star's statistics, the picture's points), so that a new output is one
// more listener and touches nothing else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "report/observation_values.h"

namespace varistellar::convert {

// One observation on its way to the outputs.
struct ConvertedObservation {
  std::size_t night = 0;  // which night (filter), in the order of the FOLDERs
  const report::ObservationValues& values;
  std::string_view record;  // the report's line for it
  float checkError = 0.0F;  // of the check star's difference (s3), for the picture
  std::uint64_t line = 0;   // in its table
  double HJD = 0.0;         // when it was measured, whatever the report's DATE
};

class ObservationListener {
 public:
  virtual void take(const ConvertedObservation& observation) = 0;

 protected:
  ~ObservationListener() = default;
};

// Hands each observation to every listener, in the order they were added.
class Fanout final : public ObservationListener {
 public:
  void add(ObservationListener& listener) { listeners_.push_back(&listener); }
  void take(const ConvertedObservation& observation) override {
    for (ObservationListener* listener : listeners_) listener->take(observation);
  }

 private:
  std::vector<ObservationListener*> listeners_;
};

}  // namespace varistellar::convert
