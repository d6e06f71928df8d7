// A running hash of bytes, word by word.
#include "report_transform/byte_fingerprint.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace varistellar::report_transform {

void ByteFingerprint::mix(std::uint64_t& hash, std::uint64_t word) {
  hash = (std::rotl(hash, 23) ^ word) * multiplier;
}

void ByteFingerprint::mixBlock(std::array<std::uint64_t, lanes>& hashes, const char* block) {
  for (std::size_t lane = 0; lane < lanes; ++lane) {
    std::uint64_t word = 0;
    std::memcpy(&word, block + lane * sizeof word, sizeof word);
    mix(hashes[lane], word);
  }
}

void ByteFingerprint::add(std::string_view bytes) {
  std::size_t held = bytes_ % blockBytes;
  bytes_ += bytes.size();
  if (held != 0) {
    const std::size_t taken = std::min(blockBytes - held, bytes.size());
    std::memcpy(pending_.data() + held, bytes.data(), taken);
    bytes.remove_prefix(taken);
    held += taken;
    if (held < blockBytes) return;
    mixBlock(hashes_, pending_.data());
  }
  for (; bytes.size() >= blockBytes; bytes.remove_prefix(blockBytes)) {
    mixBlock(hashes_, bytes.data());
  }
  std::memcpy(pending_.data(), bytes.data(), bytes.size());
}

Fingerprint ByteFingerprint::value() const {
  // The bytes of an unfinished block, then the count, which tells the zeros
  // that fill that block from bytes that were read.
  std::array<std::uint64_t, lanes> hashes = hashes_;
  std::array<char, blockBytes> last{};
  std::memcpy(last.data(), pending_.data(), bytes_ % blockBytes);
  mixBlock(hashes, last.data());
  std::uint64_t hash = hashes[0];
  for (std::size_t lane = 1; lane < lanes; ++lane) mix(hash, hashes[lane]);
  mix(hash, bytes_);
  return {bytes_, hash};
}

}  // namespace varistellar::report_transform
