// The step from one measurement and its night's parameters to the values the
// report writes, or to the reason the observation is left out. Pure: no
// output, no state.
#pragma once

#include <optional>
#include <string_view>
#include <variant>

#include "night/measurement.h"
#include "night/parameter_file.h"
#include "report/record_values.h"
#include "report/report_kinds.h"

namespace varistellar::report {

struct ObservationValues {
  double DATE = 0.0;  // HJD, or JD = HJD - HELCOR
  double MAG = 0.0;   // the comparison's catalogue magnitude plus the difference
  double MERR = 0.0;
  double AIRMASS = 0.0;
  double VMAGINS = 0.0;  // the difference, on the comparison's zero point
  // The check star on that zero point, -(C1-K1), when it was measured.
  std::optional<double> KMAGINS{};
  // Its standard magnitude (Kstd = the comparison's catalogue magnitude plus
  // KMAGINS), when there is a check star and it was measured.
  std::optional<double> Kstd{};
  // The comparison's catalogue magnitude on this row, where the table gives
  // it; none: the night's.
  std::optional<double> CREFMAG{};
  bool ensemble = false;  // KMAG is the check star's standard magnitude
  // A transformed observation: MAG and MERR are on the standard system,
  // `colour` is the target's standard colour the transformation used, and
  // the check star's standard magnitude transformed alike, when it could be.
  bool transformed = false;
  double colour = 0.0;
  std::optional<double> transformedKstd{};
  // How MERR was made when it is not the table's error ("KC21": the check
  // star's scatter over 21 observations); empty for the table's.
  std::string_view errorSource{};
};

// A MERR the report would write as 1.000 or more: the AAVSO refuses it.
struct ErrorTooLarge {
  double MERR = 0.0;
};

using ObservationOutcome = std::variant<ObservationValues, ErrorTooLarge>;

[[nodiscard]] ObservationOutcome observationValues(const night::Measurement& measurement,
                                                   const night::NightParameters& parameters,
                                                   DateKind date);

// The texts of a night's records, the same in every record of that night.
[[nodiscard]] RecordValues nightRecordTexts(const night::NightParameters& parameters);

// Puts one observation's numbers into `values` beside its night's texts.
void setObservationValues(const ObservationValues& observation, RecordValues& values);

}  // namespace varistellar::report
