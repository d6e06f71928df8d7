// The comparison stars of an ensemble, each against the others.
#include "check_star/ensemble_agreement.h"

#include <algorithm>
#include <cmath>

#include "check_star/check_star_statistics.h"

namespace varistellar::check_star {

EnsembleAgreement::EnsembleAgreement(std::vector<std::string> names,
                                     std::vector<double> catalogueMagnitudes)
    : names_{std::move(names)}, catalogue_{std::move(catalogueMagnitudes)} {
  double allCatalogue = 0.0;
  for (const double magnitude : catalogue_) {
    catalogueFlux_.push_back(std::pow(10.0, -0.4 * magnitude));
    allCatalogue += catalogueFlux_.back();
  }
  // The others' catalogue magnitude as one star is the same on every row.
  for (const double flux : catalogueFlux_) {
    // cppcheck-suppress useStlAlgorithm ; a loop reads plainer than a transform
    othersMagnitude_.push_back(-2.5 * std::log10(allCatalogue - flux));
  }
  sums_.resize(names_.size());
}

std::vector<ComparisonPoint> EnsembleAgreement::add(std::span<const double> counts) {
  std::vector<ComparisonPoint> points;
  const std::size_t n = names_.size();
  if (n < 2 || counts.size() != n) return points;
  if (std::any_of(counts.begin(), counts.end(), [](double c) { return !(c > 0.0); })) {
    return points;
  }
  double allCounts = 0.0;
  // cppcheck-suppress useStlAlgorithm ; a loop reads plainer than an accumulate
  for (const double count : counts) allCounts += count;
  for (std::size_t i = 0; i < n; ++i) {
    // The others as one star: their counts and their catalogue magnitude.
    const double others = allCounts - counts[i];
    const double measured = -2.5 * std::log10(counts[i] / others) + othersMagnitude_[i];
    const double difference = measured - catalogue_[i];
    Sums& sums = sums_[i];
    if (rows_ == 0) sums.first = difference;
    sums.sum += difference - sums.first;
    sums.squares += (difference - sums.first) * (difference - sums.first);
    points.push_back({i, difference});
  }
  ++rows_;
  return points;
}

double EnsembleAgreement::meanDifference(std::size_t star) const {
  if (rows_ == 0) return 0.0;
  return sums_[star].first + sums_[star].sum / static_cast<double>(rows_);
}

double EnsembleAgreement::deviation(std::size_t star) const {
  if (rows_ < 2) return 0.0;
  const auto n = static_cast<double>(rows_);
  const Sums& sums = sums_[star];
  const double squares = sums.squares - sums.sum * sums.sum / n;
  return std::sqrt(std::max(squares, 0.0) / (n - 1.0));
}

double EnsembleAgreement::othersMedianDeviation(std::size_t star) const {
  std::vector<double> others;
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (i != star) others.push_back(deviation(i));
  }
  std::sort(others.begin(), others.end());
  const std::size_t half = others.size() / 2;
  return others.size() % 2 == 1 ? others[half] : (others[half - 1] + others[half]) / 2.0;
}

std::vector<std::string> EnsembleAgreement::findings() const {
  std::vector<std::string> found;
  if (rows_ == 0 || names_.size() < 2) return found;
  const std::string advice =
      ": a variable or misidentified star? Leave it out with comparison lines";
  for (std::size_t i = 0; i < names_.size(); ++i) {
    const double mean = meanDifference(i);
    const double spread = deviation(i);
    const double othersSpread = othersMedianDeviation(i);
    if (std::fabs(mean) > comparisonTolerance) {
      found.push_back("quality: comparison star " + names_[i] + " measures " +
                      decimalText(std::fabs(mean), 2) + (mean < 0.0 ? " brighter" : " fainter") +
                      " than its catalogue magnitude " + decimalText(catalogue_[i], 3) +
                      " against the others" + advice);
    } else if (spread > scatterOverOthers * othersSpread && spread >= leastComparisonScatter) {
      found.push_back("quality: comparison star " + names_[i] + " scatters " +
                      decimalText(spread, 3) + " against the others, more than " +
                      decimalText(scatterOverOthers, 0) + " times the median of theirs (" +
                      decimalText(othersSpread, 3) + ")" + advice);
    }
  }
  return found;
}

}  // namespace varistellar::check_star
