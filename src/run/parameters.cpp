// The parameter stage.
#include "run/parameters.h"

#include <array>
#include <string_view>

#include "run/run.h"
#include "textio/channels.h"

namespace varistellar::run {
namespace {

using namespace textio;

constexpr std::string_view parameterFile = "VARISTELLAR-input.txt";

constexpr std::array headerEchoLayout = {textField(80)};
constexpr std::array observerEchoLayout = {textField(4), textField()};
constexpr std::array variableEchoLayout = {textField(11), textField()};
constexpr std::array starMagnitudeEchoLayout = {textField(11), blankField(1), fixedField(6, 3),
                                                textField()};

[[noreturn]] void lineReadFailure() {
  writeFreeForm(consoleChannel);
  writeFreeForm(consoleChannel, {" Error reading line from VARISTELLAR-input file"});
  failureTail();
}

// A guarded line: one text field, whose failure or end of file ends the run.
template <std::size_t N>
void readGuardedText(FixedText<N>& variable) {
  if (readTextField(parameterChannel, errorBranch, static_cast<int>(N), variable.span()) !=
      IoOutcome::ok) {
    lineReadFailure();
  }
}

// An unguarded line: a failure here ends the process with its report.
template <std::size_t N>
void readText(FixedText<N>& variable) {
  (void)readTextField(parameterChannel, noBranches, static_cast<int>(N), variable.span());
}

void readMagnitude(double& magnitude) {
  double* const variables[] = {&magnitude};
  (void)readFreeForm(parameterChannel, noBranches, variables);
}

}  // namespace

ObserverParameters readParameterFile() {
  writeFreeForm(consoleChannel, {" Opening user input file VARISTELLAR-input.txt"});
  pausePrompt(anyKeyPrompt);

  if (openChannel(parameterChannel, parameterFile, errorBranch) != IoOutcome::ok) {
    writeFreeForm(consoleChannel, {" Error opening VARISTELLAR-input.txt file"});
    failureTail();
  }
  writeFreeForm(consoleChannel, {" Successfully opened comparison star input file"});
  pausePrompt(enterPrompt);

  FixedText<80> header;
  for (int line = 0; line < 4; ++line) {
    readGuardedText(header);
    const std::array<FieldValue, 1> echo = {header.view()};
    writeLayout(consoleChannel, headerEchoLayout, echo);
  }
  writeFreeForm(consoleChannel, {" Read 4 header lines from input file"});
  pausePrompt(enterPrompt);

  ObserverParameters parameters;
  readGuardedText(parameters.observerCode);
  const std::array<FieldValue, 2> observerEcho = {parameters.observerCode.view(),
                                                  " AAVSO Observer code"};
  writeLayout(consoleChannel, observerEchoLayout, observerEcho);

  readGuardedText(parameters.variableStarId);
  const std::array<FieldValue, 2> variableEcho = {parameters.variableStarId.view(),
                                                  " Variable star ID"};
  writeLayout(consoleChannel, variableEchoLayout, variableEcho);

  readGuardedText(parameters.comparisonStarId);
  readMagnitude(parameters.comparisonMagnitude);
  const std::array<FieldValue, 3> comparisonEcho = {parameters.comparisonStarId.view(),
                                                    parameters.comparisonMagnitude,
                                                    " Comparison ID & Magnitude"};
  writeLayout(consoleChannel, starMagnitudeEchoLayout, comparisonEcho);

  readText(parameters.filterName);
  readText(parameters.chartId);
  readGuardedText(parameters.checkStarId);
  readMagnitude(parameters.checkMagnitude);
  const std::array<FieldValue, 3> checkEcho = {
      parameters.checkStarId.view(), parameters.checkMagnitude, " Check star ID & Magnitude"};
  writeLayout(consoleChannel, starMagnitudeEchoLayout, checkEcho);

  writeFreeForm(consoleChannel, {" Successfully read user input file parameters"});
  pausePrompt(enterPrompt);
  closeChannel(parameterChannel);
  return parameters;
}

}  // namespace varistellar::run
