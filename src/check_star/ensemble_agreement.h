// Whether the comparison stars of an ensemble agree: each one measured, row
// by row, against the others as an ensemble of their own, and its mean and
// scatter over the night set beside its catalogue magnitude and the others'
// scatter. One pass, a few sums per star: memory stays flat.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace varistellar::check_star {

inline constexpr double comparisonTolerance = 0.10;  // mag between the mean and the catalogue
inline constexpr double scatterOverOthers = 3.0;     // over the median of the others' deviation
// Below this a star's scatter is no concern, however steady the others.
inline constexpr double leastComparisonScatter = 0.005;

// A comparison star's difference from its catalogue magnitude on one row.
struct ComparisonPoint {
  std::size_t star = 0;
  double difference = 0.0;
};

class EnsembleAgreement {
 public:
  // The ensemble's apertures and their catalogue magnitudes, in one order.
  EnsembleAgreement(std::vector<std::string> names, std::vector<double> catalogueMagnitudes);

  // One row: each star's net counts, in the order of the names. A row where
  // some count is not above 0 is passed over. The differences it gave, for
  // the picture (none for a row passed over).
  std::vector<ComparisonPoint> add(std::span<const double> counts);

  [[nodiscard]] std::size_t stars() const { return names_.size(); }
  [[nodiscard]] const std::string& name(std::size_t star) const { return names_[star]; }
  [[nodiscard]] std::size_t rows() const { return rows_; }
  // The star's mean difference from its catalogue magnitude, and its
  // deviation (N - 1) over the rows.
  [[nodiscard]] double meanDifference(std::size_t star) const;
  [[nodiscard]] double deviation(std::size_t star) const;

  // The warnings, one per star that disagrees, in the order of the names.
  [[nodiscard]] std::vector<std::string> findings() const;

 private:
  struct Sums {
    double first = 0.0;  // the first row's difference, which the sums are about
    double sum = 0.0;
    double squares = 0.0;
  };
  // The median of the other stars' deviations.
  [[nodiscard]] double othersMedianDeviation(std::size_t star) const;

  std::vector<std::string> names_;
  std::vector<double> catalogue_;
  std::vector<double> catalogueFlux_;    // 10^(-0.4 m) of each
  std::vector<double> othersMagnitude_;  // the others' as one star, for each
  std::vector<Sums> sums_;
  std::size_t rows_ = 0;
};

}  // namespace varistellar::check_star
