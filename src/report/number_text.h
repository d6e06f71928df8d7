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

// A number inside a message, whatever its size: with `digits` decimals as
// the fields write them, never asterisks.
[[nodiscard]] std::string shownNumber(double value, int digits);
// The same beside a limit it is compared with: decimals are added (up to 17)
// until the number visibly differs from the limit, so that a message never
// says "0.5000, below 0.5".
[[nodiscard]] std::string shownNumberBeside(double value, int digits, double limit);

// MERR as the report writes it, read back: what the AAVSO judges.
[[nodiscard]] double writtenMagnitudeError(double MERR);

}  // namespace varistellar::report
