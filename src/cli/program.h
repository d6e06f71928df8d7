// The program's entry: the command line decides which front end runs.
#pragma once

#include <string>
#include <vector>

namespace varistellar::cli {

// Runs what the arguments ask for and gives the exit status.
[[nodiscard]] int runProgram(const std::vector<std::string>& arguments);

}  // namespace varistellar::cli
