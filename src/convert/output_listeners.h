// The outputs that listen to a conversion's fan-out: the report's lines, the
// check star's statistics of each night, and the picture's points.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "check_star/check_star_statistics.h"
#include "check_star/night_quality.h"
#include "convert/observation_listener.h"
#include "night/parameter_file.h"
#include "outputs/report_file.h"
#include "plot/night_points.h"

namespace varistellar::convert {

// Writes each observation's record to the report, and before the first
// one the lines held for it: lines that stand only in a report with records.
class ReportLines final : public ObservationListener {
 public:
  explicit ReportLines(outputs::ReportFile& output) : output_{output} {}
  void holdForFirstRecord(std::vector<std::string> lines) { held_ = std::move(lines); }
  void take(const ConvertedObservation& observation) override {
    for (const std::string& line : held_) output_.write(line);
    held_.clear();
    output_.write(observation.record);
  }

 private:
  outputs::ReportFile& output_;
  std::vector<std::string> held_;
};

// The check star's standard magnitude over each night, as measured (in
// table order: the tally listens as the tables are read) or as transformed.
class CheckStarTally final : public ObservationListener {
 public:
  enum class Magnitude { measured, transformed };
  CheckStarTally(std::size_t nights, Magnitude magnitude)
      : statistics_(nights), magnitude_{magnitude} {}
  void take(const ConvertedObservation& observation) override {
    const report::ObservationValues& values = observation.values;
    const std::optional<double>& Kstd =
        magnitude_ == Magnitude::measured ? values.Kstd : values.transformedKstd;
    if (Kstd) statistics_[observation.night].add({*Kstd, observation.line});
  }
  [[nodiscard]] const check_star::CheckStarStatistics& of(std::size_t night) const {
    return statistics_[night];
  }

 private:
  std::vector<check_star::CheckStarStatistics> statistics_;
  Magnitude magnitude_;
};

// What the check star says of each night's quality, as measured or as
// transformed: gathered whether or not the report carries the check star.
class QualityTally final : public ObservationListener {
 public:
  QualityTally(std::size_t nights, CheckStarTally::Magnitude magnitude)
      : quality_(nights), magnitude_{magnitude} {}
  void take(const ConvertedObservation& observation) override {
    const report::ObservationValues& values = observation.values;
    const std::optional<double>& Kstd =
        magnitude_ == CheckStarTally::Magnitude::measured ? values.Kstd : values.transformedKstd;
    if (Kstd) quality_[observation.night].add(*Kstd, observation.checkError, values.AIRMASS);
  }
  [[nodiscard]] const check_star::CheckStarQuality& of(std::size_t night) const {
    return quality_[night];
  }

 private:
  std::vector<check_star::CheckStarQuality> quality_;
  CheckStarTally::Magnitude magnitude_;
};

// The points the picture draws: magnitude, check star offset from its
// catalogue magnitude, airmass.
class PicturePoints final : public ObservationListener {
 public:
  explicit PicturePoints(const std::vector<night::NightParameters>& nights) : nights_{nights} {}
  void take(const ConvertedObservation& observation) override {
    const report::ObservationValues& values = observation.values;
    const night::NightParameters& parameters = nights_[observation.night];
    // A transformed observation shows its check star transformed (none
    // when that could not be); any other, as measured.
    const std::optional<double> Kstd = values.transformed ? values.transformedKstd : values.Kstd;
    if (values.transformedKstd) checkTransformed_ = true;
    const float check = Kstd ? static_cast<float>(*Kstd - parameters.checkStar->magnitude)
                             : std::numeric_limits<float>::quiet_NaN();
    points_.add({values.DATE, static_cast<float>(values.MAG), static_cast<float>(values.MERR),
                 check, observation.checkError, static_cast<float>(values.AIRMASS),
                 static_cast<std::uint8_t>(observation.night),
                 transformed_ && !values.transformed});
  }
  // The night is transformed: its points say which were.
  void showTransformation() { transformed_ = true; }
  [[nodiscard]] bool checkTransformed() const { return checkTransformed_; }
  [[nodiscard]] const plot::NightPoints& points() const { return points_; }

 private:
  const std::vector<night::NightParameters>& nights_;
  bool transformed_ = false;
  bool checkTransformed_ = false;
  plot::NightPoints points_;
};

}  // namespace varistellar::convert
