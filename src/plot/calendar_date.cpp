// Julian date to the Gregorian calendar, in whole days.
#include "plot/calendar_date.h"

#include <cmath>

namespace varistellar::plot {

std::string calendarDate(double julianDate) {
  // A Julian day begins at noon: the civil day of JD starts at JD - 0.5.
  const auto day = static_cast<long long>(std::floor(julianDate + 0.5));
  // The integer algorithm of Fliegel and Van Flandern.
  long long l = day + 68569;
  const long long n = 4 * l / 146097;
  l -= (146097 * n + 3) / 4;
  const long long i = 4000 * (l + 1) / 1461001;
  l = l - 1461 * i / 4 + 31;
  const long long j = 80 * l / 2447;
  const long long dayOfMonth = l - 2447 * j / 80;
  l = j / 11;
  const long long month = j + 2 - 12 * l;
  const long long year = 100 * (n - 49) + i + l;
  const auto twoDigits = [](long long value) {
    return std::string(value < 10 ? "0" : "") + std::to_string(value);
  };
  return std::to_string(year) + "-" + twoDigits(month) + "-" + twoDigits(dayOfMonth);
}

}  // namespace varistellar::plot
