// The calendar date of a Julian date, for the picture's title.
#pragma once

#include <string>

namespace varistellar::plot {

// "YYYY-MM-DD" of the civil (UT) day that holds the Julian date.
[[nodiscard]] std::string calendarDate(double julianDate);

}  // namespace varistellar::plot
