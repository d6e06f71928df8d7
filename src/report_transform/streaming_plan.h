// The plan of a report's rows while it is still being read, for writing
// them in the same pass: each star's time series as far as they are read
// (the rows still within reach of a row to come), its filters so far, and a
// row's result from what is known now. A row is settled once every partner
// filter of its star has a row past its pairing window: it is then solved as
// the whole report's plan solves it, for `add` refuses a series out of time
// order and a filter that comes after its star's rows were written. Only
// rows whose GROUP is na are planned here: a report with GROUP sets is
// planned only once it is read whole.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "report_transform/report_inputs.h"
#include "report_transform/report_plan.h"
#include "transform/night_transforms.h"
#include "transform/pairing.h"

namespace varistellar::report_transform {

class StreamingPlan {
 public:
  // More stars than this with rows to transform are planned at the end.
  static constexpr std::size_t mostStars = 64;

  StreamingPlan(const transform::TransformSetting& setting, transform::PairingWindow window)
      : setting_{setting}, window_{window} {}

  // Takes in row `index`, just read; false when the rows can no longer be
  // planned before the end (a GROUP set, a series out of time order, too
  // many stars, a coefficient missing).
  [[nodiscard]] bool add(const ReportInputs& inputs, std::uint32_t index);
  // Whether nothing still to be read can change row `index`'s partners.
  [[nodiscard]] bool settled(const ReportInputs& inputs, std::uint32_t index) const;
  // Row `index` (one whose `why` is none) from the rows read so far; none
  // when its filters' coefficients cannot be planned.
  [[nodiscard]] std::optional<RowResult> solve(const ReportInputs& inputs, std::uint32_t index);
  // Row `index` is written: rows of its star too old to partner any row
  // still to come are let go.
  void written(const ReportInputs& inputs, std::uint32_t index);
  // The transformations of the stars' filter sets so far; none when their
  // coefficients cannot be planned.
  [[nodiscard]] std::optional<std::vector<transform::FilterTransform>> transformsSoFar();

 private:
  struct SetEquations {
    Fate fate = Fate::transformed;
    std::array<const transform::FilterTransform*, 4> transformOf{};
  };
  struct StarSeries {
    std::uint32_t star = 0;
    std::size_t combination = 0;  // its standard filters so far: B = 1, V = 2, R = 4, I = 8
    std::array<std::deque<std::uint32_t>, 4> rows;  // each filter's recent rows, in time order
    std::array<double, 4> lastDate{};               // the latest date of each filter
    std::array<double, 4> writtenDate{};            // the latest written row's date of each filter
    std::array<bool, 4> anyWritten{};
    std::array<std::size_t, 4> place{};  // where each filter's last partner search ended
  };

  [[nodiscard]] StarSeries* seriesOf(std::uint32_t star);
  [[nodiscard]] const SetEquations* equationsOf(std::size_t combination);
  [[nodiscard]] double reachDays() const;
  [[nodiscard]] bool fail() {
    failed_ = true;
    return false;
  }

  const transform::TransformSetting& setting_;
  transform::PairingWindow window_;
  std::vector<StarSeries> stars_;
  std::size_t last_ = 0;  // the star asked for last
  std::array<std::optional<SetEquations>, 16> sets_;
  // Every transformation planned, kept where it stands: written rows' results point into it.
  std::deque<transform::FilterTransform> transforms_;
  bool failed_ = false;
};

}  // namespace varistellar::report_transform
