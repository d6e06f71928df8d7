// An ensemble's comparison stars, watched row by row.
#include "convert/comparison_watch.h"

#include <algorithm>
#include <string>

namespace varistellar::convert {
namespace {

std::vector<std::string> aperturesOf(const std::vector<night::EnsembleStar>& stars) {
  std::vector<std::string> names(stars.size());
  std::transform(stars.begin(), stars.end(), names.begin(),
                 [](const night::EnsembleStar& star) { return star.aperture; });
  return names;
}

std::vector<double> magnitudesOf(const std::vector<night::EnsembleStar>& stars) {
  std::vector<double> magnitudes(stars.size());
  std::transform(stars.begin(), stars.end(), magnitudes.begin(),
                 [](const night::EnsembleStar& star) { return star.magnitude; });
  return magnitudes;
}

}  // namespace

void ComparisonWatch::Bin::add(double date, double value) {
  low = rows == 0 ? value : std::min(low, value);
  high = rows == 0 ? value : std::max(high, value);
  dates += date;
  values += value;
  ++rows;
}

void ComparisonWatch::Bin::add(const Bin& other) {
  if (other.rows == 0) return;
  low = rows == 0 ? other.low : std::min(low, other.low);
  high = rows == 0 ? other.high : std::max(high, other.high);
  dates += other.dates;
  values += other.values;
  rows += other.rows;
}

ComparisonWatch::ComparisonWatch(const std::vector<night::EnsembleStar>& stars, bool forPicture)
    : agreement_{aperturesOf(stars), magnitudesOf(stars)}, forPicture_{forPicture} {
  if (forPicture_) bins_.resize(stars.size());
}

void ComparisonWatch::add(double date, std::span<const double> counts) {
  const std::vector<check_star::ComparisonPoint> points = agreement_.add(counts);
  if (!forPicture_ || points.empty()) return;
  // Every star has a point on a row that counts, so their bins stay in step.
  if (bins_.front().empty() || bins_.front().back().rows == rowsPerBin_) {
    if (bins_.front().size() == mostBins) halveBins();
    for (std::vector<Bin>& star : bins_) star.emplace_back();
  }
  for (const check_star::ComparisonPoint& point : points) {
    bins_[point.star].back().add(date, point.difference);
  }
}

void ComparisonWatch::halveBins() {
  for (std::vector<Bin>& star : bins_) {
    for (std::size_t i = 0; i < star.size() / 2; ++i) {
      Bin merged = star[2 * i];
      merged.add(star[2 * i + 1]);
      star[i] = merged;
    }
    star.resize(star.size() / 2);
  }
  rowsPerBin_ *= 2;
}

std::vector<plot::NamedSeries> ComparisonWatch::series(std::string_view suffix) const {
  std::vector<plot::NamedSeries> drawn;
  for (std::size_t star = 0; star < bins_.size(); ++star) {
    plot::NamedSeries named{agreement_.name(star) + std::string{suffix}, {}};
    for (const Bin& bin : bins_[star]) {
      const auto rows = static_cast<double>(bin.rows);
      named.points.push_back({bin.dates / rows, bin.values / rows, bin.low, bin.high});
    }
    drawn.push_back(std::move(named));
  }
  return drawn;
}

}  // namespace varistellar::convert
