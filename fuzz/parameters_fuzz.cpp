// Fuzzes the interactive parameter stage over whole "VARISTELLAR-input.txt"
// contents.
#include "run/parameters.h"
#include "stage_harness.h"
#include "textio/channels.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  stage_harness::prepare();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace varistellar::run;
  stage_harness::writeInput("VARISTELLAR-input.txt", data, size);
  ObserverParameters parameters;
  Dialogue silent;
  try {
    if (readParameterFile(RunContext{}, parameters, silent) == ParameterOutcome::ok) {
      stage_harness::check(parameters.observerCode.size() == 4 && parameters.chartId.size() == 8,
                           "text values keep their widths");
    }
  } catch (const RunEnded&) {
    // An unhandled failure: the record runtime ended the run with its report.
  }
  varistellar::textio::closeChannel(parameterChannel);
  return 0;
}
