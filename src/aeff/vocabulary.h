// Words the program's messages and readers share about the format: the
// placeholders observers write for "none", a value's edge blanks, a byte's name, the list of
// filters a message offers, and the standard filter a filter stands for.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace varistellar::aeff {

// "na", "n/a", "xxx" or "?", in any case: a value left unfilled. Every
// reader asks here, so that "NA" is none wherever "na" is.
[[nodiscard]] bool isPlaceholder(std::string_view text);

// The text without the blanks and TABs at its ends: how every reader takes
// a value, a key or a field.
[[nodiscard]] std::string_view trimBlanks(std::string_view text);

// A byte as messages name it: "0x1B".
[[nodiscard]] std::string byteName(unsigned char byte);
// A control byte by the name an editor shows for it where it has one:
// "CR (0x0D)", "TAB (0x09)"; any other as "byte 0xE9".
[[nodiscard]] std::string spokenByteName(unsigned char byte);

// "U, B, V, ..., HA or HAC": the filters the format lists, for a message.
[[nodiscard]] std::string filterListText();

// The standard filter a filter is transformed as: B, V, R or I itself, and
// a colour camera's TB, TG and TR as B, V and R; none for any other. Case
// is ignored, as in every word of the format: "v" is V wherever a filter
// is read (convert, transform, check), so that no path reads it apart.
[[nodiscard]] std::optional<char> standardFilter(std::string_view filterName);

}  // namespace varistellar::aeff
