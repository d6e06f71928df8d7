// Input text shown inside a message: never a raw byte the terminal would act
// on, never longer than a reader takes in at a glance.
#pragma once

#include <cstddef>
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

// How many characters of a name a message shows before it cuts it with
// "...": a file's path whole, however deep, and a stray argument on a line.
inline constexpr std::size_t pathShownWhole = 1024;
inline constexpr std::size_t argumentShownWhole = 100;

// A file's name or a command-line argument as a message shows it, without
// quotes: a plain name (printable ASCII, valid UTF-8) exactly as given, so
// that editors still find FILE:LINE; a control byte, a C1 or bidirectional
// control or a byte of invalid UTF-8 as \xNN, as quoted() shows it, so that a
// newline in a folder's name cannot split a finding over two lines.
[[nodiscard]] std::string shownName(std::string_view name, std::size_t longest = pathShownWhole);

}  // namespace varistellar::diagnostics
