// The check star's statistics over a night.
#include "check_star/check_star_statistics.h"

#include <algorithm>
#include <cmath>

#include "report/number_text.h"

namespace varistellar::check_star {
std::string decimalText(double value, int digits) {
  // Wide enough for any magnitude and its statistics.
  return report::writtenNumber(value, 24, digits);
}

std::string signedDecimalText(double value, int digits) {
  std::string text = decimalText(value, digits);
  if (text.front() != '-') text.insert(0, 1, '+');
  return text;
}

void CheckStarStatistics::add(CheckStarRow row) {
  if (count_ == 0) shift_ = row.Kstd;
  ++count_;
  sum_ += row.Kstd;
  const double shifted = row.Kstd - shift_;
  shiftedSum_ += shifted;
  shiftedSquares_ += shifted * shifted;
  keep(brightest_, brightestKept_, row, false);
  keep(faintest_, faintestKept_, row, true);
}

// Keeps the row among the extremes when it is more extreme than the least of
// them; of equal magnitudes the earlier row stays.
void CheckStarStatistics::keep(Extremes& extremes, std::size_t& kept, CheckStarRow row,
                               bool faintest) {
  const auto beyond = [faintest](double a, double b) { return faintest ? a > b : a < b; };
  std::size_t at = kept;
  while (at > 0 && beyond(row.Kstd, extremes[at - 1].Kstd)) --at;
  if (at == listedDeviations) return;
  const std::size_t last = std::min(kept, listedDeviations - 1);
  for (std::size_t i = last; i > at; --i) extremes[i] = extremes[i - 1];
  extremes[at] = row;
  kept = std::min(kept + 1, listedDeviations);
}

double CheckStarStatistics::mean() const {
  return count_ == 0 ? 0.0 : sum_ / static_cast<double>(count_);
}

double CheckStarStatistics::standardDeviation() const {
  if (count_ < 2) return 0.0;
  const auto n = static_cast<double>(count_);
  const double squares = shiftedSquares_ - shiftedSum_ * shiftedSum_ / n;
  return std::sqrt(std::max(squares, 0.0) / (n - 1.0));
}

std::vector<Deviation> CheckStarStatistics::largestDeviations() const {
  const double sigma = standardDeviation();
  std::vector<Deviation> strays;
  if (sigma <= 0.0) return strays;
  const double center = mean();
  const auto consider = [&](const Extremes& extremes, std::size_t kept) {
    for (std::size_t i = 0; i < kept; ++i) {
      const CheckStarRow& row = extremes[i];
      const double fromMean = row.Kstd - center;
      if (std::fabs(fromMean) <= 3.0 * sigma) continue;
      const bool seen = std::any_of(strays.begin(), strays.end(),
                                    [&](const Deviation& d) { return d.row.line == row.line; });
      if (!seen) strays.push_back({row, fromMean, std::fabs(fromMean) / sigma});
    }
  };
  consider(brightest_, brightestKept_);
  consider(faintest_, faintestKept_);
  std::sort(strays.begin(), strays.end(), [](const Deviation& a, const Deviation& b) {
    if (a.deviations != b.deviations) return a.deviations > b.deviations;
    return a.row.line < b.row.line;
  });
  if (strays.size() > listedDeviations) strays.resize(listedDeviations);
  return strays;
}

std::string statisticsLine(std::string_view checkStarId, const CheckStarStatistics& statistics,
                           double catalogueMagnitude) {
  const double mean = statistics.mean();
  return "check star " + std::string{checkStarId} + ": " + std::to_string(statistics.count()) +
         " observations, mean " + decimalText(mean, 3) + " (catalogue " +
         decimalText(catalogueMagnitude, 3) + ", difference " +
         signedDecimalText(mean - catalogueMagnitude, 3) + "), standard deviation " +
         decimalText(statistics.standardDeviation(), 3);
}

}  // namespace varistellar::check_star
