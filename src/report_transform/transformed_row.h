// A report's row rewritten with its transformed values; every other byte
// of the row stays as it was.
#pragma once

#include <string>
#include <string_view>

#include "aeff/row_fields.h"
#include "check/row.h"
#include "report_transform/report_plan.h"

namespace varistellar::report_transform {

// The fields a transformed row keeps byte for byte, blanks and all; a row
// that is not transformed keeps all of them.
inline constexpr check::FieldSet copiedFields =
    check::fieldSet({aeff::Field::STARID, aeff::Field::DATE, aeff::Field::CNAME, aeff::Field::CMAG,
                     aeff::Field::KNAME, aeff::Field::KMAG, aeff::Field::AIRMASS,
                     aeff::Field::GROUP, aeff::Field::CHART});

// `line` (without its line end) split at `delimiter` into its fifteen
// fields, written to `out` with MAG and MERR on the standard system, FILT
// the standard filter (B for TB), TRANS YES, MTYPE STD and the coefficient,
// its error and the stated colour appended to NOTES (in place of na).
// False, and `out` unspecified, when the line has not fifteen fields or a
// number does not fit its field.
[[nodiscard]] bool writeTransformedRow(std::string_view line, char delimiter,
                                       const RowResult& result, std::string& out);
// The same for a line split already into `fields`, views into it.
[[nodiscard]] bool writeTransformedRow(std::string_view line, const aeff::RowFields& fields,
                                       char delimiter, const RowResult& result, std::string& out);

}  // namespace varistellar::report_transform
