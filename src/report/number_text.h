// Numbers as the report's fixed-point fields write them, without the blanks
// those fields lead with: the one way the command line writes a number.
#pragma once

#include <optional>
#include <string>

namespace varistellar::report {

// The text of a fixed-point field of width.digits without its leading
// blanks; nothing when the field would hold asterisks, NaN or INF.
[[nodiscard]] std::optional<std::string> trimmedNumber(double value, int width, int digits);
// The same, with the asterisks kept: for messages about numbers that do not fit.
[[nodiscard]] std::string writtenNumber(double value, int width, int digits);

// MERR as the report writes it, read back: what the AAVSO judges.
[[nodiscard]] double writtenMagnitudeError(double MERR);

}  // namespace varistellar::report
