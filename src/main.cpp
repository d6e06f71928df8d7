// varistellar: converts a MAGNIVEX light-curve table into an AAVSO Extended
// File Format report, interactively in the current folder or from the
// observer's command line.
#include "cli/program.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  return varistellar::cli::runProgram(varistellar::platform::commandLineArguments(argc, argv));
}
