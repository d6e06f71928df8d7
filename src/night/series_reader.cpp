// Where readers are chosen.
#include "night/series_reader.h"

#include "night/light_curve_table.h"

namespace varistellar::night {

std::unique_ptr<SeriesReader> seriesReaderFor(const std::string& file) {
  return std::make_unique<LightCurveTableReader>(file);
}

}  // namespace varistellar::night
