// The list of the table formats convert reads, and the choice among them by
// a file's content. A new format is its own files and one line in the list.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "night/table_format.h"

namespace varistellar::night {

// Every format, in the order they are asked to identify a file.
[[nodiscard]] std::span<const TableFormat* const> tableFormats();

// The format that identifies the file beginning with `beginning`; none when
// none does.
[[nodiscard]] const TableFormat* identifiedTableFormat(std::string_view beginning);

// The format a table is read in: the one that identifies it, else MAGNIVEX's,
// whose reader then says what is wrong with the file.
[[nodiscard]] const TableFormat& tableFormatOf(std::string_view beginning);
[[nodiscard]] const TableFormat& tableFormatOfFile(const std::string& file);

// The format the interactive run reads, and the one read when no other is told.
[[nodiscard]] const TableFormat& magnivexTableFormat();

}  // namespace varistellar::night
