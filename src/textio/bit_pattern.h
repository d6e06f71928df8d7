// The bits of a double and back, as the compiler's own bit cast gives them
// (some standard libraries the program is built with have no std::bit_cast).
#pragma once

#include <cstdint>

namespace varistellar::textio {

static_assert(sizeof(double) == sizeof(std::uint64_t));

[[nodiscard]] constexpr std::uint64_t bitsOf(double value) {
  return __builtin_bit_cast(std::uint64_t, value);
}

[[nodiscard]] constexpr double doubleFromBits(std::uint64_t bits) {
  return __builtin_bit_cast(double, bits);
}

}  // namespace varistellar::textio
