// The outputs that listen to a conversion's fan-out: the report's lines, the
// check star's statistics of each night, and the picture's points.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "check_star/check_star_statistics.h"
#include "convert/observation_listener.h"
#include "convert/report_output.h"
#include "night/parameter_file.h"
#include "plot/night_points.h"

namespace varistellar::convert {

// Writes each observation's record to the report.
class ReportLines final : public ObservationListener {
 public:
  explicit ReportLines(ReportOutput& output) : output_{output} {}
  void take(const ConvertedObservation& observation) override { output_.write(observation.record); }

 private:
  ReportOutput& output_;
};

// The check star's standard magnitude over each night, in table order.
class CheckStarTally final : public ObservationListener {
 public:
  explicit CheckStarTally(std::size_t nights) : statistics_(nights) {}
  void take(const ConvertedObservation& observation) override {
    if (observation.values.Kstd) {
      statistics_[observation.night].add({*observation.values.Kstd, observation.line});
    }
  }
  [[nodiscard]] const check_star::CheckStarStatistics& of(std::size_t night) const {
    return statistics_[night];
  }

 private:
  std::vector<check_star::CheckStarStatistics> statistics_;
};

// The points the picture draws: magnitude, check star offset from its
// catalogue magnitude, airmass.
class PicturePoints final : public ObservationListener {
 public:
  explicit PicturePoints(const std::vector<night::NightParameters>& nights) : nights_{nights} {}
  void take(const ConvertedObservation& observation) override {
    const report::ObservationValues& values = observation.values;
    const night::NightParameters& parameters = nights_[observation.night];
    const float check = values.Kstd
                            ? static_cast<float>(*values.Kstd - parameters.checkStar->magnitude)
                            : std::numeric_limits<float>::quiet_NaN();
    points_.add({values.DATE, static_cast<float>(values.MAG), static_cast<float>(values.MERR),
                 check, observation.checkError, static_cast<float>(values.AIRMASS),
                 static_cast<std::uint8_t>(observation.night)});
  }
  [[nodiscard]] const plot::NightPoints& points() const { return points_; }

 private:
  const std::vector<night::NightParameters>& nights_;
  plot::NightPoints points_;
};

}  // namespace varistellar::convert
