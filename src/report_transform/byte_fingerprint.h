// What a stream of bytes held, told in 16 bytes: how many there were and a
// 64-bit hash of them, the same however the stream was cut into pieces. Two
// readings of one report compare by their fingerprints.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace varistellar::report_transform {

struct Fingerprint {
  std::uint64_t bytes = 0;
  std::uint64_t hash = 0;
  bool operator==(const Fingerprint&) const = default;
};

// Thirty-two bytes at a time, as four words each mixed into a lane of its
// own, so that the four multiplications do not wait for each other: far
// cheaper than the reading it follows. Every step is a bijection of its
// lane, and the lanes are joined by bijections, so two streams that differ
// in one word always differ.
class ByteFingerprint {
 public:
  void add(std::string_view bytes);
  [[nodiscard]] Fingerprint value() const;

 private:
  static constexpr std::size_t lanes = 4;
  static constexpr std::size_t blockBytes = lanes * sizeof(std::uint64_t);
  static constexpr std::uint64_t start = 0xcbf29ce484222325u;
  static constexpr std::uint64_t multiplier = 0x9e3779b97f4a7c15u;
  static void mix(std::uint64_t& hash, std::uint64_t word);
  static void mixBlock(std::array<std::uint64_t, lanes>& hashes, const char* block);

  std::array<std::uint64_t, lanes> hashes_{start, start + 1, start + 2, start + 3};
  std::uint64_t bytes_ = 0;
  std::array<char, blockBytes> pending_{};  // the last bytes_ % 32 bytes, not yet a whole block
};

}  // namespace varistellar::report_transform
