// What the check star says about a night's quality: whether it sits at its
// catalogue magnitude, whether it scatters more than the table's errors
// allow, and whether it drifts with airmass. Gathered in one pass as the
// observations are written, for one filter.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check_star/check_star_statistics.h"

namespace varistellar::check_star {

// The thresholds the warnings use.
inline constexpr double catalogueTolerance = 0.10;  // mag between the mean and the catalogue
inline constexpr std::size_t leastForScatter = 10;  // measured observations
inline constexpr double scatterOverError = 2.0;     // the deviation over the median s3
inline constexpr std::size_t leastForTrend = 20;
inline constexpr double leastAirmassRange = 0.2;
inline constexpr double trendStandardErrors = 3.0;
inline constexpr double leastDrift = 0.02;  // mag over the night's airmass range

// The mean and the standard deviation (N - 1) of the check star, worked out
// as the summary's statistics are (the mean the sum in table order over N),
// without the strays the summary lists.
class MeanAndDeviation {
 public:
  void add(double value);
  [[nodiscard]] std::size_t count() const { return count_; }
  [[nodiscard]] double mean() const;
  [[nodiscard]] double standardDeviation() const;

 private:
  std::size_t count_ = 0;
  double sum_ = 0.0;
  double shift_ = 0.0;
  double shiftedSum_ = 0.0;
  double shiftedSquares_ = 0.0;
};

// The least-squares line of the check star's magnitude against airmass,
// from sums about the first point so that large magnitudes keep their digits.
class AirmassTrend {
 public:
  void add(double airmass, double Kstd);
  [[nodiscard]] std::size_t count() const { return count_; }
  [[nodiscard]] double lowest() const { return lowest_; }
  [[nodiscard]] double highest() const { return highest_; }
  [[nodiscard]] double slope() const;
  // The slope's standard error; 0 for fewer than three points.
  [[nodiscard]] double slopeError() const;

 private:
  std::size_t count_ = 0;
  double x0_ = 0.0;
  double y0_ = 0.0;
  double sx_ = 0.0;
  double sy_ = 0.0;
  double sxx_ = 0.0;
  double sxy_ = 0.0;
  double syy_ = 0.0;
  double lowest_ = 0.0;
  double highest_ = 0.0;
};

// The median of the check star's errors in flat memory: errors below 0.1 are
// counted in steps of 0.00001 (the tables' last decimal, so a table's values
// are kept exactly), the rare larger ones kept as they are.
class ErrorMedian {
 public:
  void add(double error);
  [[nodiscard]] std::size_t count() const { return count_; }
  // 0 when there is none.
  [[nodiscard]] double median() const;

 private:
  static constexpr double step = 1e-5;
  static constexpr std::size_t steps = 10000;  // up to 0.1
  // The k-th smallest error, from 0.
  [[nodiscard]] double smallest(std::size_t k) const;

  std::vector<std::uint32_t> counts_;  // made at the first error
  std::vector<double> large_;
  std::size_t count_ = 0;
};

// One filter's check star over the night.
class CheckStarQuality {
 public:
  // A measured check star: its standard magnitude, its error s3 from the
  // table and the airmass (NaN when there is none).
  void add(double Kstd, double s3, double airmass);
  [[nodiscard]] const MeanAndDeviation& statistics() const { return statistics_; }
  [[nodiscard]] const AirmassTrend& trend() const { return trend_; }
  // The median of the errors s3; 0 when there is none.
  [[nodiscard]] double medianError() const { return errors_.median(); }

 private:
  MeanAndDeviation statistics_;
  AirmassTrend trend_;
  ErrorMedian errors_;
};

// How the warnings name the check star and its filter.
struct QualityNames {
  std::string_view checkStar;
  std::string_view filter;
  double catalogueMagnitude = 0.0;
};

// The warnings' texts, each beginning "quality: ", or none when the night is
// sound in that respect.
[[nodiscard]] std::optional<std::string> awayFromCatalogue(const MeanAndDeviation& statistics,
                                                           const QualityNames& names);
[[nodiscard]] std::optional<std::string> errorsUnderstated(const CheckStarQuality& quality,
                                                           const QualityNames& names);
[[nodiscard]] std::optional<std::string> driftWithAirmass(const AirmassTrend& trend,
                                                          const QualityNames& names);

}  // namespace varistellar::check_star
