#include "transform/pairing.h"

#include <cmath>

namespace varistellar::transform {
namespace {

constexpr double minutesPerDay = 1440.0;
// Differences of HJDs near 2.46e6 are exact only to some 7e-7 minutes.
constexpr double windowToleranceMinutes = 5e-6;

}  // namespace

bool withinWindow(double days, PairingWindow window) {
  return std::fabs(days) * minutesPerDay <= window.minutes + windowToleranceMinutes;
}

Instrumental partnerValue(const Partner& p, Instrumental y1, Instrumental y2) {
  // A partner alone is taken as it is: no rounding, and y2 is not read.
  if (p.weight == 0.0) return y1;
  const double w = p.weight;
  const double v = 1.0 - w;
  return Instrumental{v * y1.value + w * y2.value,
                      std::sqrt(v * v * (y1.error * y1.error) + w * w * (y2.error * y2.error))};
}

}  // namespace varistellar::transform
