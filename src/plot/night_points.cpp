// The series a night's picture draws.
#include "plot/night_points.h"

#include <algorithm>
#include <cmath>

namespace varistellar::plot {
namespace {

// The running mean, lowest and highest value of one bin of one series.
struct BinSums {
  std::size_t count = 0;
  double dateSum = 0.0;
  double valueSum = 0.0;
  double low = 0.0;
  double high = 0.0;

  void add(double date, double value) {
    if (!std::isfinite(value)) return;
    low = count == 0 ? value : std::min(low, value);
    high = count == 0 ? value : std::max(high, value);
    ++count;
    dateSum += date;
    valueSum += value;
  }
  void appendTo(std::vector<SeriesPoint>& series) const {
    if (count == 0) return;
    const auto n = static_cast<double>(count);
    series.push_back({dateSum / n, valueSum / n, low, high});
  }
};

void appendPoint(std::vector<SeriesPoint>& series, double date, double value, double error) {
  if (!std::isfinite(date) || !std::isfinite(value)) return;
  const double bar = std::isfinite(error) ? std::fabs(error) : 0.0;
  series.push_back({date, value, value - bar, value + bar});
}

// The check star's values of one night, summed about the first so that the
// deviation keeps its digits.
struct BandSums {
  std::size_t count = 0;
  double first = 0.0;
  double sum = 0.0;
  double squares = 0.0;

  void add(double value) {
    if (!std::isfinite(value)) return;
    if (count++ == 0) first = value;
    sum += value - first;
    squares += (value - first) * (value - first);
  }
  [[nodiscard]] CheckBand band() const {
    if (count < 2) return {count, count == 0 ? 0.0 : first, 0.0};
    const auto n = static_cast<double>(count);
    const double spread = std::sqrt(std::max(squares - sum * sum / n, 0.0) / (n - 1.0));
    return {count, first + sum / n, spread};
  }
};

}  // namespace

std::vector<CheckBand> NightPoints::checkBands(std::size_t nights) const {
  std::vector<BandSums> sums(nights);
  for (const NightPoint& point : points_) {
    if (point.night < nights) sums[point.night].add(point.check);
  }
  std::vector<CheckBand> bands(sums.size());
  std::transform(sums.begin(), sums.end(), bands.begin(),
                 [](const BandSums& night) { return night.band(); });
  return bands;
}

Series NightPoints::series(std::size_t nights) const {
  Series drawn;
  drawn.checkBands = checkBands(nights);
  drawn.target.resize(nights);
  drawn.untransformed.resize(nights);
  drawn.check.resize(nights);
  drawn.untransformedCheck.resize(nights);
  if (points_.size() <= mostPointsDrawn) {
    for (const NightPoint& point : points_) {
      auto& target = point.untransformed ? drawn.untransformed : drawn.target;
      appendPoint(target[point.night], point.date, point.magnitude, point.error);
      auto& check = point.untransformed ? drawn.untransformedCheck : drawn.check;
      appendPoint(check[point.night], point.date, point.check, point.checkError);
      appendPoint(drawn.airmass, point.date, point.airmass, 0.0);
    }
    return drawn;
  }

  double first = std::numeric_limits<double>::infinity();
  double last = -first;
  for (const NightPoint& point : points_) {
    if (!std::isfinite(point.date)) continue;
    first = std::min(first, point.date);
    last = std::max(last, point.date);
  }
  drawn.bins = binCount;
  drawn.binWidth = (last - first) / static_cast<double>(binCount);
  std::vector<std::vector<BinSums>> target(nights, std::vector<BinSums>(binCount));
  std::vector<std::vector<BinSums>> untransformed(nights, std::vector<BinSums>(binCount));
  std::vector<std::vector<BinSums>> check(nights, std::vector<BinSums>(binCount));
  std::vector<std::vector<BinSums>> untransformedCheck(nights, std::vector<BinSums>(binCount));
  std::vector<BinSums> airmass(binCount);
  for (const NightPoint& point : points_) {
    if (!std::isfinite(point.date)) continue;
    const double place = drawn.binWidth > 0.0 ? (point.date - first) / drawn.binWidth : 0.0;
    const auto bin = std::min(static_cast<std::size_t>(place), binCount - 1);
    (point.untransformed ? untransformed : target)[point.night][bin].add(point.date,
                                                                         point.magnitude);
    (point.untransformed ? untransformedCheck : check)[point.night][bin].add(point.date,
                                                                             point.check);
    airmass[bin].add(point.date, point.airmass);
  }
  for (std::size_t night = 0; night < nights; ++night) {
    for (std::size_t bin = 0; bin < binCount; ++bin) {
      target[night][bin].appendTo(drawn.target[night]);
      untransformed[night][bin].appendTo(drawn.untransformed[night]);
      check[night][bin].appendTo(drawn.check[night]);
      untransformedCheck[night][bin].appendTo(drawn.untransformedCheck[night]);
    }
  }
  for (std::size_t bin = 0; bin < binCount; ++bin) airmass[bin].appendTo(drawn.airmass);
  return drawn;
}

}  // namespace varistellar::plot
