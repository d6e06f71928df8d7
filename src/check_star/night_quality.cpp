// The check star's quality warnings.
#include "check_star/night_quality.h"

#include <algorithm>
#include <cmath>

namespace varistellar::check_star {

void MeanAndDeviation::add(double value) {
  if (count_ == 0) shift_ = value;
  ++count_;
  sum_ += value;
  shiftedSum_ += value - shift_;
  shiftedSquares_ += (value - shift_) * (value - shift_);
}

double MeanAndDeviation::mean() const {
  return count_ == 0 ? 0.0 : sum_ / static_cast<double>(count_);
}

double MeanAndDeviation::standardDeviation() const {
  if (count_ < 2) return 0.0;
  const auto n = static_cast<double>(count_);
  const double squares = shiftedSquares_ - shiftedSum_ * shiftedSum_ / n;
  return std::sqrt(std::max(squares, 0.0) / (n - 1.0));
}

void AirmassTrend::add(double airmass, double Kstd) {
  if (count_ == 0) {
    x0_ = airmass;
    y0_ = Kstd;
    lowest_ = airmass;
    highest_ = airmass;
  }
  ++count_;
  const double x = airmass - x0_;
  const double y = Kstd - y0_;
  sx_ += x;
  sy_ += y;
  sxx_ += x * x;
  sxy_ += x * y;
  syy_ += y * y;
  lowest_ = std::min(lowest_, airmass);
  highest_ = std::max(highest_, airmass);
}

double AirmassTrend::slope() const {
  if (count_ < 2) return 0.0;
  const auto n = static_cast<double>(count_);
  const double xx = sxx_ - sx_ * sx_ / n;
  if (xx <= 0.0) return 0.0;
  return (sxy_ - sx_ * sy_ / n) / xx;
}

double AirmassTrend::slopeError() const {
  if (count_ < 3) return 0.0;
  const auto n = static_cast<double>(count_);
  const double xx = sxx_ - sx_ * sx_ / n;
  if (xx <= 0.0) return 0.0;
  const double xy = sxy_ - sx_ * sy_ / n;
  const double yy = syy_ - sy_ * sy_ / n;
  const double residuals = std::max(yy - xy * xy / xx, 0.0);
  return std::sqrt(residuals / (n - 2.0) / xx);
}

void ErrorMedian::add(double error) {
  if (!std::isfinite(error)) return;
  ++count_;
  const double place = std::round(std::fabs(error) / step);
  if (place >= static_cast<double>(steps)) {
    large_.push_back(std::fabs(error));
    return;
  }
  if (counts_.empty()) counts_.resize(steps);
  ++counts_[static_cast<std::size_t>(place)];
}

double ErrorMedian::smallest(std::size_t k) const {
  std::size_t below = 0;
  for (std::size_t i = 0; i < counts_.size(); ++i) {
    below += counts_[i];
    if (k < below) return static_cast<double>(i) * step;
  }
  std::vector<double> large = large_;
  const auto at = large.begin() + static_cast<std::ptrdiff_t>(k - below);
  std::nth_element(large.begin(), at, large.end());
  return *at;
}

double ErrorMedian::median() const {
  if (count_ == 0) return 0.0;
  const std::size_t half = count_ / 2;
  if (count_ % 2 == 1) return smallest(half);
  return (smallest(half - 1) + smallest(half)) / 2.0;
}

void CheckStarQuality::add(double Kstd, double s3, double airmass) {
  statistics_.add(Kstd);
  errors_.add(s3);
  if (std::isfinite(airmass)) trend_.add(airmass, Kstd);
}

std::optional<std::string> awayFromCatalogue(const MeanAndDeviation& statistics,
                                             const QualityNames& names) {
  if (statistics.count() == 0) return std::nullopt;
  const double difference = statistics.mean() - names.catalogueMagnitude;
  if (std::fabs(difference) <= catalogueTolerance) return std::nullopt;
  return "quality: check star " + std::string{names.checkStar} + " " + std::string{names.filter} +
         " is " + decimalText(std::fabs(difference), 2) +
         (difference < 0.0 ? " brighter" : " fainter") + " than its catalogue magnitude " +
         decimalText(names.catalogueMagnitude, 3) +
         ": is it the right star, the right catalogue magnitude and the right filter?";
}

std::optional<std::string> errorsUnderstated(const CheckStarQuality& quality,
                                             const QualityNames& names) {
  const MeanAndDeviation& statistics = quality.statistics();
  if (statistics.count() < leastForScatter) return std::nullopt;
  const double scatter = statistics.standardDeviation();
  const double error = quality.medianError();
  if (scatter <= scatterOverError * error) return std::nullopt;
  // A table without errors (all 0) gives no ratio to tell.
  const std::string ratio =
      error > 0.0 ? ", " + decimalText(scatter / error, 1) + " times its reported error" : "";
  std::string text =
      "quality: the check star scatters " + decimalText(scatter, 3) + " in " +
      std::string{names.filter} + ratio +
      ": the table's errors understate this night's; --merr check-scatter reports the scatter";
  return text;
}

std::optional<std::string> driftWithAirmass(const AirmassTrend& trend, const QualityNames& names) {
  if (trend.count() < leastForTrend) return std::nullopt;
  const double range = trend.highest() - trend.lowest();
  if (range < leastAirmassRange) return std::nullopt;
  const double slope = trend.slope();
  if (std::fabs(slope) <= trendStandardErrors * trend.slopeError()) return std::nullopt;
  const double drift = std::fabs(slope) * range;
  if (drift <= leastDrift) return std::nullopt;
  std::string text =
      "quality: the check star drifts " + decimalText(drift, 3) + " over airmass " +
      decimalText(trend.lowest(), 2) + " to " + decimalText(trend.highest(), 2) + " in " +
      std::string{names.filter} +
      ": a colour difference between the stars (transform the night) or differential "
      "extinction";
  return text;
}

}  // namespace varistellar::check_star
