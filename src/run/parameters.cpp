// The parameter stage of the interactive run.
#include "run/parameters.h"

#include "textio/channels.h"

namespace varistellar::run {
namespace {

using namespace textio;

// A line read as one text field of N columns; a guarded line's failure or end
// of file is an outcome, an unguarded one's ends the process.
template <std::size_t N>
[[nodiscard]] bool readTextLine(Branches branches, std::string& variable) {
  FixedText<N> text;
  const IoOutcome outcome =
      readTextField(parameterChannel, branches, static_cast<int>(N), text.span());
  variable.assign(text.view());
  return outcome == IoOutcome::ok;
}

template <std::size_t N>
[[nodiscard]] bool readGuarded(std::string& variable) {
  return readTextLine<N>(errorBranch, variable);
}

template <std::size_t N>
void readUnguarded(std::string& variable) {
  (void)readTextLine<N>(noBranches, variable);
}

void readMagnitude(double& magnitude) {
  double* const variables[] = {&magnitude};
  (void)readFreeForm(parameterChannel, noBranches, variables);
}

}  // namespace

ParameterOutcome readParameterFile(const RunContext& context, ObserverParameters& parameters,
                                   Dialogue& dialogue) {
  dialogue.openingParameters();
  if (openChannel(parameterChannel, context.parameterFile, errorBranch) != IoOutcome::ok) {
    return ParameterOutcome::openFailed;
  }
  dialogue.parametersOpened();

  std::string header;
  for (int line = 0; line < 4; ++line) {
    if (!readGuarded<80>(header)) return ParameterOutcome::lineReadFailed;
    dialogue.parameterHeaderRead(header);
  }
  dialogue.parameterHeadersRead();

  if (!readGuarded<4>(parameters.observerCode)) return ParameterOutcome::lineReadFailed;
  dialogue.observerCodeRead(parameters.observerCode);
  if (!readGuarded<11>(parameters.variableStarId)) return ParameterOutcome::lineReadFailed;
  dialogue.variableStarRead(parameters.variableStarId);
  if (!readGuarded<11>(parameters.comparisonStarId)) return ParameterOutcome::lineReadFailed;
  readMagnitude(parameters.comparisonMagnitude);
  dialogue.comparisonStarRead(parameters.comparisonStarId, parameters.comparisonMagnitude);

  readUnguarded<6>(parameters.filterName);
  readUnguarded<8>(parameters.chartId);
  if (!readGuarded<11>(parameters.checkStarId)) return ParameterOutcome::lineReadFailed;
  readMagnitude(parameters.checkMagnitude);
  dialogue.checkStarRead(parameters.checkStarId, parameters.checkMagnitude);

  dialogue.parametersRead();
  closeChannel(parameterChannel);
  return ParameterOutcome::ok;
}

}  // namespace varistellar::run
