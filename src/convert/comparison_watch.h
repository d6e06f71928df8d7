// An ensemble's comparison stars watched as a night is read: each measured
// against the others on every row, for the night's quality, and kept for the
// picture's panel of them when a picture is drawn, in a bounded number of
// bins however long the night.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "check_star/ensemble_agreement.h"
#include "night/parameter_file.h"
#include "plot/night_points.h"

namespace varistellar::convert {

class ComparisonWatch {
 public:
  // Beyond this many bins a star's neighbouring bins are merged in pairs.
  static constexpr std::size_t mostBins = 1000;

  ComparisonWatch(const std::vector<night::EnsembleStar>& stars, bool forPicture);

  // One row: the stars' net counts at `date`, in the order of the stars.
  void add(double date, std::span<const double> counts);

  [[nodiscard]] const check_star::EnsembleAgreement& agreement() const { return agreement_; }
  // Each star's differences from its catalogue magnitude, named by its
  // aperture and `suffix`; a bin is drawn as its mean with a bar from its
  // lowest to its highest row.
  [[nodiscard]] std::vector<plot::NamedSeries> series(std::string_view suffix) const;

 private:
  struct Bin {
    double dates = 0.0;  // summed
    double values = 0.0;
    double low = 0.0;
    double high = 0.0;
    std::uint64_t rows = 0;
    void add(double date, double value);
    void add(const Bin& other);
  };
  void halveBins();

  check_star::EnsembleAgreement agreement_;
  bool forPicture_;
  std::vector<std::vector<Bin>> bins_;  // per star
  std::uint64_t rowsPerBin_ = 1;
};

}  // namespace varistellar::convert
