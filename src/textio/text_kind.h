// What kind of text a file holds, told from its first bytes: the line readers
// read one kind only, and the others deserve a sentence rather than an error
// on every line.
#pragma once

#include <string_view>

namespace varistellar::textio {

enum class TextKind {
  lines,    // bytes in lines ended by LF or CR LF (or a single line)
  utf16,    // two bytes a character, as Notepad saves "Unicode"
  crOnly,   // lines ended by CR alone
  notText,  // NUL bytes: an image, a program, an archive
};

// What to tell of a UTF-16 file, whichever command reads it.
inline constexpr std::string_view utf16Advice =
    "the file is UTF-16 text (what Notepad calls \"Unicode\"); save it as ANSI or UTF-8";

// The kind of the file whose first bytes (its whole first line at least,
// when it has one) are `beginning`.
[[nodiscard]] TextKind textKindOf(std::string_view beginning);

}  // namespace varistellar::textio
