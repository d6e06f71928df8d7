// One observation of a filter's series as every reader gives it: what was
// measured, in the program's own terms rather than a file's columns.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace varistellar::night {

struct Measurement {
  double HJD = 0.0;         // heliocentric Julian date
  double HELCOR = 0.0;      // heliocentric correction, days: JD = HJD - HELCOR
  double difference = 0.0;  // the target minus the comparison, instrumental (V-C)
  double error = 0.0;       // of `difference` (s1)
  // The check star minus the comparison, -(C1-K1); none when the check star
  // was not measured.
  std::optional<double> checkDifference{};
  double checkError = 0.0;  // of `checkDifference` (s3)
  double AIRMASS = 0.0;
  // The comparison's catalogue magnitude on this row, where the table gives
  // it (an ensemble's); none: line 8 of the parameter file.
  std::optional<double> reference{};
  // An ensemble's comparison stars' net counts on this row, in the order of
  // NightParameters::ensembleStars, where the table gives them; valid only
  // while the measurement is taken.
  std::span<const double> comparisonCounts{};
  std::uint64_t line = 0;  // where it stands in its file, from 1
};

// Where a reader hands each measurement it keeps. False: it could not be
// taken (memory is out), and reading stops.
class MeasurementSink {
 public:
  virtual bool take(const Measurement& measurement) = 0;

 protected:
  ~MeasurementSink() = default;
};

}  // namespace varistellar::night
