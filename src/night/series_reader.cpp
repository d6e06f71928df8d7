// Where readers are chosen: by the file's content.
#include "night/series_reader.h"

#include "night/table_formats.h"

namespace varistellar::night {

std::unique_ptr<SeriesReader> seriesReaderFor(const std::string& file) {
  return tableFormatOfFile(file).open(file);
}

}  // namespace varistellar::night
