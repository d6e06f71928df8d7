// Whether a report's delimiters can hold what transform writes: a row split
// at a character that its new MAG, TRANS, MTYPE or NOTES hold would read
// back with its fields torn apart, and so would NOTES split at a
// sub-delimiter that the appended subfields hold. Judged before anything is
// written.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "report_transform/report_inputs.h"
#include "transform/night_transforms.h"

namespace varistellar::report_transform {

// Where a transformed row's new text goes, and how a message shows it.
enum class WrittenInto { fields, notes };

// The piece of text that `transforms` write (into the fields, or into
// NOTES alone) which holds `c`, as a message shows it; nothing when no
// such piece holds it.
[[nodiscard]] std::optional<std::string> writtenTextHolding(
    const std::vector<transform::FilterTransform>& transforms, WrittenInto into, char c);

// Reports each delimiter of the report, and each sub-delimiter of its rows'
// NOTES, that splits a row transform may rewrite and stands in what it
// writes there; the number of errors.
std::size_t reportDelimiterClashes(const ReportInputs& inputs,
                                   const std::vector<transform::FilterTransform>& transforms,
                                   std::string_view report, diagnostics::DiagnosticSink& findings);

}  // namespace varistellar::report_transform
