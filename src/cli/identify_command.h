// `varistellar --identify FILE...`: the detector's answer for each file, so
// that the web page sorts dropped files exactly as the command line does.
#pragma once

#include <span>
#include <string>

namespace varistellar::cli {

// One line a file, in the order given: "FILE: KIND", KIND as
// file_kind::describedKind() says it ("report", "table MAGNIVEX", ...). A
// file that cannot be read is "unknown". Always 0.
[[nodiscard]] int runIdentifyCommand(std::span<const std::string> files);

}  // namespace varistellar::cli
