// The parameter stage of the interactive run.
#include "run/parameters.h"

#include "night/parameter_lines.h"
#include "textio/channels.h"

namespace varistellar::run {
namespace {

using namespace textio;
using night::ParameterLine;

// The text the interactive run keeps of a line: its first columns.
template <ParameterLine line>
constexpr std::size_t width = night::parameterLine(line).interactiveWidth;

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
  for (std::size_t line = 0; line < night::parameterHeaderLines; ++line) {
    if (!readGuarded<80>(header)) return ParameterOutcome::lineReadFailed;
    dialogue.parameterHeaderRead(header);
  }
  dialogue.parameterHeadersRead();

  if (!readGuarded<width<ParameterLine::observerCode>>(parameters.observerCode))
    return ParameterOutcome::lineReadFailed;
  dialogue.observerCodeRead(parameters.observerCode);
  if (!readGuarded<width<ParameterLine::star>>(parameters.variableStarId))
    return ParameterOutcome::lineReadFailed;
  dialogue.variableStarRead(parameters.variableStarId);
  if (!readGuarded<width<ParameterLine::comparisonStar>>(parameters.comparisonStarId))
    return ParameterOutcome::lineReadFailed;
  readMagnitude(parameters.comparisonMagnitude);
  dialogue.comparisonStarRead(parameters.comparisonStarId, parameters.comparisonMagnitude);

  readUnguarded<width<ParameterLine::filter>>(parameters.filterName);
  readUnguarded<width<ParameterLine::chart>>(parameters.chartId);
  if (!readGuarded<width<ParameterLine::checkStar>>(parameters.checkStarId))
    return ParameterOutcome::lineReadFailed;
  readMagnitude(parameters.checkMagnitude);
  dialogue.checkStarRead(parameters.checkStarId, parameters.checkMagnitude);

  dialogue.parametersRead();
  closeChannel(parameterChannel);
  return ParameterOutcome::ok;
}

}  // namespace varistellar::run
