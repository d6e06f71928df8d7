// Input text shown inside a message: never a raw byte the terminal would act
// on, never longer than a reader takes in at a glance.
#pragma once

#include <string>
#include <string_view>

namespace varistellar::diagnostics {

// The text in double quotes, at most 40 characters (then "..."), every byte
// outside printable ASCII as \xNN: an ESC or an OSC sequence in a file must
// not clear the screen or write the clipboard when a message echoes it.
[[nodiscard]] std::string quoted(std::string_view text);

// The whole text, every byte outside printable ASCII as \xNN as above, and
// without quotes: a name from the user made fit to stand in a report's line,
// which holds printable ASCII only.
[[nodiscard]] std::string escaped(std::string_view text);

}  // namespace varistellar::diagnostics
