// Powers of ten by square and multiply, and their table built at compile time.
#pragma once

#include <array>
#include <cstddef>

namespace varistellar::textio::detail {

// 10^n in double precision: start with 1 and base 10, take the bits of n from
// the lowest upwards, multiply by the base for each set bit and square the
// base in between; the highest bit multiplies and stops. Every product is
// rounded to nearest, so the result is exact up to 10^22 and a little off
// beyond; both directions of conversion rely on exactly these values.
constexpr double squareAndMultiplyPowerOfTen(unsigned n) {
  double result = 1.0;
  double base = 10.0;
  while (n != 0) {
    if (n == 1) return result * base;
    if ((n & 1U) != 0) result *= base;
    base *= base;
    n >>= 1;
  }
  return result;
}

// Every finite power: from 10^309 on the products overflow to infinity.
inline constexpr std::size_t powerTableSize = 309;

inline constexpr std::array<double, powerTableSize> powerTable = [] {
  std::array<double, powerTableSize> table{};
  for (std::size_t n = 0; n < powerTableSize; ++n) {
    table[n] = squareAndMultiplyPowerOfTen(static_cast<unsigned>(n));
  }
  return table;
}();

[[nodiscard]] inline double lookUpPowerOfTen(unsigned n) {
  return n < powerTableSize ? powerTable[n] : squareAndMultiplyPowerOfTen(n);
}

}  // namespace varistellar::textio::detail
