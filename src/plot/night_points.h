// The points of a night's picture: every written observation's date, its
// magnitude with its error, the check star's offset from its catalogue
// magnitude with its error, and the airmass. A long night is drawn as bins,
// since a person sees no more than a few thousand points.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <limits>
#include <string>
#include <vector>

namespace varistellar::plot {

// One observation as the picture shows it. The magnitudes are kept as
// floats: far finer than a pixel, and the night's points take 32 bytes each.
struct NightPoint {
  double date = 0.0;
  float magnitude = 0.0F;
  float error = 0.0F;
  float check = std::numeric_limits<float>::quiet_NaN();  // NaN: not measured
  float checkError = 0.0F;
  float airmass = 0.0F;
  std::uint8_t night = 0;  // which night (filter) of the picture
  // In a transformed night, an observation written untransformed (it had
  // no partner): it and its check star are drawn apart from the transformed
  // ones.
  bool untransformed = false;
};

// The points of one series, drawn as a mark at `value` with a bar from `low`
// to `high`.
struct SeriesPoint {
  double date = 0.0;
  double value = 0.0;
  double low = 0.0;
  double high = 0.0;
};

// The check star's mean and standard deviation (N - 1) over one night
// (filter), for the band about the mean; no band for fewer than two.
struct CheckBand {
  std::size_t count = 0;
  double mean = 0.0;
  double deviation = 0.0;
};

// One comparison star of an ensemble measured against the others: its
// difference from its catalogue magnitude on each row.
struct NamedSeries {
  std::string name;  // its aperture
  std::vector<SeriesPoint> points;
};

// Target and check star one series per night (filter), the airmass one
// series for all.
struct Series {
  std::vector<std::vector<SeriesPoint>> target;
  std::vector<std::vector<SeriesPoint>> untransformed;  // of a transformed night
  std::vector<std::vector<SeriesPoint>> check;
  std::vector<std::vector<SeriesPoint>> untransformedCheck;
  std::vector<SeriesPoint> airmass;
  std::vector<CheckBand> checkBands;  // one per night, over every observation
  // An ensemble's comparison stars, each against the others: a panel of
  // their own when there are any.
  std::vector<NamedSeries> comparisons;
  std::size_t bins = 0;   // 0: every observation is its own point
  double binWidth = 0.0;  // days
};

class NightPoints {
 public:
  // Beyond this many observations the picture shows bins.
  static constexpr std::size_t mostPointsDrawn = 2000;
  static constexpr std::size_t binCount = 500;

  void add(const NightPoint& point) { points_.push_back(point); }
  [[nodiscard]] std::size_t size() const { return points_.size(); }
  [[nodiscard]] const NightPoint& operator[](std::size_t i) const { return points_[i]; }

  // What the picture draws: each observation with its error bar, or for a
  // long night the bins of equal time, each its mean with a bar from the
  // lowest to the highest value. Values that are not finite are left out.
  [[nodiscard]] Series series(std::size_t nights = 1) const;
  // Each night's check star: its mean and deviation over every observation.
  [[nodiscard]] std::vector<CheckBand> checkBands(std::size_t nights) const;

 private:
  // Blocks that never move: a night grows without copying what it holds.
  std::deque<NightPoint> points_;
};

}  // namespace varistellar::plot
