// The written observations of several nights, kept until every night is
// read and then handed on in time order: by DATE, and for equal dates in
// the order of the FOLDERs, then of the tables' lines. Each takes 48 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "convert/observation_listener.h"
#include "diagnostics/diagnostic.h"
#include "night/parameter_file.h"
#include "report/record_forms.h"

namespace varistellar::convert {

class NightStore final : public ObservationListener {
 public:
  NightStore(const std::vector<night::NightParameters>& nights,
             const std::vector<std::string>& tableFiles, bool withCheckStar);

  // Keeps the observation; its record is made when it is handed on.
  void take(const ConvertedObservation& observation) override;
  // Makes every kept observation's record in time order, reports those with
  // numbers that do not fit their fields, and hands the others to
  // `listener` (none when there is none), then lets go of them.
  void handOn(ObservationListener* listener, diagnostics::DiagnosticSink& findings);

 private:
  // What a record and the picture need again of one observation.
  struct Kept {
    double DATE;
    double VMAGINS;
    double MERR;
    double AIRMASS;
    double KMAGINS;  // NaN: the check star was not measured
    float checkError;
    std::uint32_t line;  // in its table, for messages, and so that sorting keeps file order
  };
  static_assert(sizeof(Kept) == 48);

  struct Night {
    const night::NightParameters* parameters;
    std::deque<Kept> kept;
    bool inOrder = true;
  };

  std::vector<Night> nights_;
  const std::vector<std::string>& tableFiles_;
  bool withCheckStar_;
};

}  // namespace varistellar::convert
