// Small text helpers of the checker: trimming, plain decimal numbers, and
// field texts quoted for a message.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "aeff/plain_decimal.h"
#include "aeff/vocabulary.h"
#include "diagnostics/quoted.h"

namespace varistellar::check {

using aeff::trimBlanks;
// An optional sign, digits, an optional point and digits; at least one digit.
using aeff::isPlainDecimal;
// Its value: one reader of numbers for the checker, `transform` and `convert`,
// so that all of them take the same value from the same text.
using aeff::readPlainDecimal;
[[nodiscard]] bool isInteger(std::string_view text);
// The text in double quotes, at most 40 characters, other bytes as \xNN.
using diagnostics::quoted;

}  // namespace varistellar::check
