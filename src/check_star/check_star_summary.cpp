// The check star's parameters and its lines of the summary.
#include "check_star/check_star_summary.h"

#include <cmath>

#include "diagnostics/quoted.h"
#include "night/parameter_lines.h"
#include "report/number_text.h"

namespace varistellar::check_star {
namespace {

using night::lineNumber;
using night::ParameterLine;

bool fitsMagnitudeField(double magnitude) {
  return report::trimmedNumber(magnitude, 6, 3).has_value();
}

}  // namespace

bool checkStarParametersUsable(const night::NightParameters& parameters,
                               const std::string& parameterFile,
                               diagnostics::DiagnosticSink& findings) {
  const std::string starLine = std::to_string(lineNumber(ParameterLine::checkStar));
  if (!parameters.checkStar) {
    findings.error(parameterFile, lineNumber(ParameterLine::checkStar), 0,
                   "--check-star needs a check star, but line " + starLine +
                       " names none: put the check star's name on line " + starLine +
                       " and its catalogue magnitude on line " +
                       std::to_string(lineNumber(ParameterLine::checkMagnitude)));
    return false;
  }
  bool usable = true;
  const auto needFit = [&](double magnitude, std::uint64_t line, const char* what) {
    if (fitsMagnitudeField(magnitude)) return;
    findings.error(parameterFile, line, 0,
                   std::string{what} +
                       " does not fit the report's magnitude fields: it must lie above -10 and "
                       "below 100");
    usable = false;
  };
  needFit(parameters.comparisonMagnitude, lineNumber(ParameterLine::comparisonMagnitude),
          "the comparison star's magnitude");
  needFit(parameters.checkStar->magnitude, lineNumber(ParameterLine::checkMagnitude),
          "the check star's magnitude");
  return usable;
}

std::vector<std::string> checkStarSummaryLines(std::string_view name, double catalogueMagnitude,
                                               const CheckStarStatistics& statistics,
                                               const std::string& tableFile,
                                               const CheckStarStatistics* transformed,
                                               std::string_view noneWritten) {
  std::vector<std::string> lines;
  if (statistics.count() == 0 && !noneWritten.empty()) {
    lines.push_back("check star " + std::string{name} + ": not measured, as " +
                    std::string{noneWritten});
    return lines;
  }
  if (statistics.count() == 0) {
    lines.push_back("check star " + std::string{name} +
                    ": not measured on any written line (C1-K1 above 90), so KMAG is na");
    return lines;
  }
  lines.push_back(statisticsLine(name, statistics, catalogueMagnitude));
  if (transformed != nullptr && transformed->count() != 0) {
    lines.push_back(
        statisticsLine(std::string{name} + " transformed", *transformed, catalogueMagnitude));
  }
  const std::vector<Deviation> strays = statistics.largestDeviations();
  if (strays.empty()) return lines;
  lines.push_back("check star lines beyond three standard deviations, furthest first:");
  for (const Deviation& stray : strays) {
    // cppcheck-suppress useStlAlgorithm ; a loop reads plainer than a transform into lines
    lines.push_back("  " + diagnostics::shownName(tableFile) + ":" +
                    std::to_string(stray.row.line) + ": Kstd " + decimalText(stray.row.Kstd, 3) +
                    ", " + signedDecimalText(stray.fromMean, 3) + " from the mean (" +
                    decimalText(stray.deviations, 1) + " standard deviations)");
  }
  return lines;
}

std::optional<std::string> checkStarMovedAway(const CheckStarStatistics& measured,
                                              const CheckStarStatistics& transformed,
                                              double catalogueMagnitude) {
  if (measured.count() == 0 || transformed.count() == 0) return std::nullopt;
  const double before = measured.mean() - catalogueMagnitude;
  const double after = transformed.mean() - catalogueMagnitude;
  if (std::fabs(after) - std::fabs(before) <= 0.020) return std::nullopt;
  return "the transformation moved the check star from " + signedDecimalText(before, 3) + " to " +
         signedDecimalText(after, 3) + ": check the coefficients and the catalogue colours";
}

}  // namespace varistellar::check_star
