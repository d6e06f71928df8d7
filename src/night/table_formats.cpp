// The formats, in one list.
#include "night/table_formats.h"

#include <algorithm>
#include <array>

#include "night/aij_table.h"
#include "night/light_curve_table.h"
#include "night/siril_light_curve.h"
#include "platform/platform.h"
#include "textio/line_reader.h"

namespace varistellar::night {
namespace {

constexpr std::array<const TableFormat*, 3> formats = {
    &magnivexLightCurveTable,
    &aijMeasurementTable,
    &sirilLightCurve,
};

}  // namespace

std::span<const TableFormat* const> tableFormats() { return formats; }

const TableFormat* identifiedTableFormat(std::string_view beginning) {
  const auto found = std::find_if(formats.begin(), formats.end(), [beginning](const auto* format) {
    return format->identify(beginning);
  });
  return found == formats.end() ? nullptr : *found;
}

const TableFormat& magnivexTableFormat() { return magnivexLightCurveTable; }

const TableFormat& tableFormatOf(std::string_view beginning) {
  const TableFormat* format = identifiedTableFormat(beginning);
  return format != nullptr ? *format : magnivexTableFormat();
}

const TableFormat& tableFormatOfFile(const std::string& file) {
  // A pipe's bytes are read once, by the reader: only a plain file is looked at first.
  if (platform::pathKind(file) != platform::PathKind::file) return magnivexTableFormat();
  textio::LineReader reader{file};
  return tableFormatOf(reader.beginning());
}

}  // namespace varistellar::night
