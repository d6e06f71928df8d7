// `varistellar check FILE...`: every file's findings and summary.
#pragma once

#include <string>
#include <vector>

namespace varistellar::check {

// 2 when a file cannot be read, else 1 when a file has an error, else 0.
[[nodiscard]] int runCheckCommand(const std::vector<std::string>& files);

}  // namespace varistellar::check
