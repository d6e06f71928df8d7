// The command line's console: whole lines on standard output and standard
// error, each ended as the platform ends its lines.
#pragma once

#include <string_view>

namespace varistellar::console {

void printLine(std::string_view text);
void printErrorLine(std::string_view text);
// A text of LF-ended lines, each written with the platform's line end.
void printText(std::string_view text);

}  // namespace varistellar::console
