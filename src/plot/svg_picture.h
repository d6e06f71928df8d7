// The night's light curve as an SVG 1.1 picture: the target's magnitudes
// with their error bars, magnitudes growing downwards; below it, on the same
// time axis, the check star's offset from its catalogue magnitude and the
// airmass. A night of several filters draws each in its own colour, with a
// legend. Self-contained, and the same bytes for the same night.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "plot/night_points.h"

namespace varistellar::plot {

// One night (filter) of the picture.
struct FilterLabels {
  std::string filter;
  double comparisonMagnitude = 0.0;
  double checkMagnitude = 0.0;
};

struct PictureLabels {
  std::string star;
  std::string observer;
  std::string comparison;
  std::string checkStar;              // empty: the parameter files name none
  std::vector<FilterLabels> filters;  // one per night, each drawn in its own colour
  std::string dateKind;               // "HJD" or "JD", as the report's DATE
  std::size_t observations = 0;
  double firstJulianDate = 0.0;  // of the first observation, for its UT date
  // A transformed night: its marks say which observations were transformed,
  // and the check star is drawn as transformed where it could be.
  bool transformed = false;
  bool checkTransformed = false;
};

[[nodiscard]] std::string drawNightPicture(const Series& series, const PictureLabels& labels);

}  // namespace varistellar::plot
