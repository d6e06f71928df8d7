// Bytes looked at eight at a time, as one 64-bit word: for searches over
// short runs of text, where a call per byte found costs more than the bytes.
#pragma once

#include <cstdint>

namespace varistellar::textio {

inline constexpr std::uint64_t byteOnes = 0x0101010101010101ull;

// The word with `byte` in each of its eight bytes.
[[nodiscard]] constexpr std::uint64_t repeatedByte(char byte) {
  return static_cast<unsigned char>(byte) * byteOnes;
}

// The top bit of each byte of `x` that is zero, and of no other: exact, for
// no borrow runs from one byte into the next. In a word loaded from memory
// on a little-endian machine, countr_zero of it, divided by 8, is the first
// such byte's place.
[[nodiscard]] constexpr std::uint64_t zeroBytes(std::uint64_t x) {
  constexpr std::uint64_t low = 0x7F * byteOnes;
  return ~(((x & low) + low) | x | low);
}

}  // namespace varistellar::textio
