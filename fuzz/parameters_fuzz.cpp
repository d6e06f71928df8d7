// Fuzzes the parameter stage over whole "VARISTELLAR-input.txt" contents.
#include "run/parameters.h"
#include "stage_harness.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  stage_harness::prepare();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  stage_harness::writeInput("VARISTELLAR-input.txt", data, size);
  try {
    const varistellar::run::ObserverParameters parameters = varistellar::run::readParameterFile();
    stage_harness::check(
        parameters.observerCode.view().size() == 4 && parameters.chartId.view().size() == 8,
        "text values keep their widths");
  } catch (const RunEnded&) {
    // The stage ended the run itself: the file could not be read as parameters.
  }
  return 0;
}
