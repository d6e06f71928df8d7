// varistellar: converts a MAGNIVEX light-curve table into an AAVSO Extended
// File Format report, in the current directory.
#include "run/run.h"

int main() { varistellar::run::runConversion(); }
