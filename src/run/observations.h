// The values a run carries from stage to stage: the observations of the
// light-curve table and the observer's parameters.
#pragma once

#include <array>
#include <cstdint>

#include "textio/fields.h"

namespace varistellar::run {

// The kept observations of the light-curve table, entries 0 to n - 1 in file
// order. Every column starts at zero.
struct ObservationTable {
  static constexpr std::int32_t capacity = 1000;

  std::int32_t n = 0;
  std::array<double, capacity> JDHEL{};    // heliocentric Julian date
  std::array<double, capacity> V_C{};      // V-C: variable minus comparison star
  std::array<double, capacity> s1{};       // error of V-C
  std::array<double, capacity> AIRMASS{};  // the table's AIRMASS value
  std::array<double, capacity> STD{};      // standard magnitude, V-C plus the comparison's
};

// What the observer's parameter file says about the night.
struct ObserverParameters {
  textio::FixedText<4> observerCode;
  textio::FixedText<11> variableStarId;
  textio::FixedText<11> comparisonStarId;
  double comparisonMagnitude = 0.0;
  textio::FixedText<6> filterName;
  textio::FixedText<8> chartId;
  textio::FixedText<11> checkStarId;
  double checkMagnitude = 0.0;
};

}  // namespace varistellar::run
