// The run sequence and its console dialogue.
#include "run/run.h"

#include "platform/platform.h"
#include "run/light_curve.h"
#include "run/parameters.h"
#include "run/report.h"
#include "textio/channels.h"

namespace varistellar::run {

using textio::consoleChannel;

void failureTail() {
  textio::pausePrompt(enterPrompt);
  textio::endRun(handledFailureStatus);
}

void addComparisonMagnitude(ObservationTable& table, double comparisonMagnitude) {
  for (std::int32_t j = 0; j < table.n; ++j) {
    const auto i = static_cast<std::size_t>(j);
    table.STD[i] = table.V_C[i] + comparisonMagnitude;
  }
}

void computeStandardMagnitudes(ObservationTable& table, const ObserverParameters& parameters) {
  // The magnitude as read, not as echoed with three decimals.
  addComparisonMagnitude(table, parameters.comparisonMagnitude);
  textio::writeFreeForm(consoleChannel, {" Successfully converted variable magnitude to STD"});
  textio::pausePrompt(enterPrompt);
}

void runConversion() {
  platform::prepareProcess();

  textio::writeFreeForm(consoleChannel, {"Initiating conversion of MAGNIVEX lightcurve.txt"});
  textio::writeFreeForm(consoleChannel, {"to AAVSO extended format with VARISTELLAR-input"});
  textio::pausePrompt(enterPrompt);

  // The two tables live for the whole run; static keeps them off the stack.
  static ObservationTable observations;
  static ObserverParameters parameters;

  readLightCurveTable(observations);
  textio::pausePrompt(enterPrompt);
  parameters = readParameterFile();
  computeStandardMagnitudes(observations, parameters);
  writeReportFile(observations, parameters);
  textio::endRun(0);
}

}  // namespace varistellar::run
