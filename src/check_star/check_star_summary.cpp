// The check star's parameters and its lines of the summary.
#include "check_star/check_star_summary.h"

#include "run/report_layout.h"

namespace varistellar::check_star {
namespace {

constexpr std::uint64_t comparisonMagnitudeLine = 8;
constexpr std::uint64_t checkStarLine = 11;
constexpr std::uint64_t checkMagnitudeLine = 12;

bool fitsMagnitudeField(double magnitude) {
  return run::trimmedNumber(magnitude, 6, 3).has_value();
}

}  // namespace

bool checkStarParametersUsable(const run::ObserverParameters& parameters,
                               const std::string& parameterFile,
                               diagnostics::DiagnosticSink& findings) {
  if (parameters.checkStarId == "na") {
    findings.error(parameterFile, checkStarLine, 0,
                   "--check-star needs a check star, but line 11 names none: put the check "
                   "star's name on line 11 and its catalogue magnitude on line 12");
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
  needFit(parameters.comparisonMagnitude, comparisonMagnitudeLine,
          "the comparison star's magnitude");
  needFit(parameters.checkMagnitude, checkMagnitudeLine, "the check star's magnitude");
  return usable;
}

std::vector<std::string> checkStarSummaryLines(const run::ObserverParameters& parameters,
                                               const CheckStarStatistics& statistics,
                                               const std::string& tableFile) {
  std::vector<std::string> lines;
  if (statistics.count() == 0) {
    lines.push_back("check star " + parameters.checkStarId +
                    ": not measured on any written line (C1-K1 above 90), so KMAG is na");
    return lines;
  }
  lines.push_back(statisticsLine(parameters.checkStarId, statistics, parameters.checkMagnitude));
  const std::vector<Deviation> strays = statistics.largestDeviations();
  if (strays.empty()) return lines;
  lines.push_back("check star lines beyond three standard deviations, furthest first:");
  for (const Deviation& stray : strays) {
    // cppcheck-suppress useStlAlgorithm ; a loop reads plainer than a transform into lines
    lines.push_back("  " + tableFile + ":" + std::to_string(stray.row.line) + ": Kstd " +
                    decimalText(stray.row.Kstd, 3) + ", " + signedDecimalText(stray.fromMean, 3) +
                    " from the mean (" + decimalText(stray.deviations, 1) +
                    " standard deviations)");
  }
  return lines;
}

}  // namespace varistellar::check_star
