// Where readers are chosen: by the file's content.
#include "night/series_reader.h"

#include "night/parameter_lines.h"
#include "night/table_formats.h"

namespace varistellar::night {

std::unique_ptr<SeriesReader> seriesReaderFor(const std::string& file) {
  return tableFormatOfFile(file).open(file);
}

bool noApertureLines(const NightRequest& request, std::string_view program,
                     // cppcheck-suppress constParameter ; findings are added to it
                     diagnostics::DiagnosticSink& findings) {
  for (const ApertureLine& aperture : request.parameters.apertures) {
    findings.error(request.parameterFile, aperture.line, 0,
                   "an aperture line is for an AstroImageJ table, but the table is " +
                       std::string{program} + "'s; leave the line out");
  }
  return request.parameters.apertures.empty();
}

std::optional<NightShape> SeriesReader::prepare(const NightRequest& request,
                                                diagnostics::DiagnosticSink& findings) {
  if (!noApertureLines(request, magnivexProgram, findings)) return std::nullopt;
  if (!request.parameters.comparisonMagnitudeGiven) {
    findings.error(request.parameterFile, lineNumber(ParameterLine::comparisonMagnitude), 0,
                   "line 8 must hold the comparison star's magnitude as a number such as 12.345; "
                   "only an AstroImageJ ensemble may leave it empty or na");
    return std::nullopt;
  }
  return NightShape{.julianDate = request.julianDate};
}

}  // namespace varistellar::night
