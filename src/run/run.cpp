// The interactive run: the stages in order, and what each outcome leads to.
#include "run/run.h"

#include "run/interactive_dialogue.h"
#include "run/light_curve.h"
#include "run/parameters.h"
#include "run/report.h"
#include "run/run_context.h"
#include "textio/channels.h"

namespace varistellar::run {

void computeStandardMagnitudes(ObservationTable& table, double comparisonMagnitude) {
  for (std::size_t i = 0; i < table.n(); ++i) {
    table.setSTD(i, standardMagnitude(table.V_C(i), comparisonMagnitude));
  }
}

void runConversion() {
  const RunContext context;
  InteractiveDialogue dialogue;
  dialogue.banner();

  // The tables live for the whole run; static keeps them off the stack.
  static ObservationTable observations;
  static ObserverParameters parameters;

  switch (readLightCurveTable(context, observations, dialogue)) {
    case LightCurveOutcome::ok: break;
    case LightCurveOutcome::openFailed: dialogue.tableOpenFailed(); dialogue.failureTail();
    case LightCurveOutcome::headerReadFailed:
      dialogue.tableHeaderReadFailed();
      dialogue.failureTail();
    case LightCurveOutcome::outOfMemory:
      textio::reportUnhandledFailure({.ownMessage = textio::bufferAllocationFailed},
                                     textio::StatementKind::read, lightCurveChannel);
  }
  dialogue.tableRead();

  switch (readParameterFile(context, parameters, dialogue)) {
    case ParameterOutcome::ok: break;
    case ParameterOutcome::openFailed: dialogue.parameterOpenFailed(); dialogue.failureTail();
    case ParameterOutcome::lineReadFailed:
      dialogue.parameterLineReadFailed();
      dialogue.failureTail();
  }

  // The magnitude as read, not as echoed with three decimals.
  computeStandardMagnitudes(observations, parameters.comparisonMagnitude);
  dialogue.standardMagnitudesComputed();

  writeReportFile(context, observations, parameters, dialogue);
  textio::endRun(0);
}

}  // namespace varistellar::run
