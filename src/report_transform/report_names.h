// The names a report repeats on every row, each kept once and named by a
// small index: its stars (STARID), its GROUP values and its filters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace varistellar::report_transform {

// STARIDs, compared without regard to case as all words of the format are.
// A star is numbered by where its name is kept, so that a report with a star
// per row costs its names' bytes and a slot each, no string or node per star:
// numbers grow in the order the names first appear.
class StarNames {
 public:
  // False when the names fill what a number can address (4 GiB of them).
  [[nodiscard]] bool index(std::string_view starId, std::uint32_t& star);
  // As first written; a name above 254 bytes is kept shortened (such a
  // STARID is refused by the checker anyway).
  [[nodiscard]] std::string_view name(std::uint32_t star) const;
  [[nodiscard]] std::size_t size() const { return count_; }
  // The lookup table is needed only while the report is read: freed, the
  // names stay, and a later index() builds it again.
  void finishReading();

 private:
  static constexpr std::size_t blockBytes = std::size_t{1} << 16;
  static constexpr std::size_t longestName = 254;
  [[nodiscard]] std::uint64_t hashOf(std::string_view name) const;
  [[nodiscard]] std::size_t slotOf(std::uint64_t hash) const;
  [[nodiscard]] bool sameName(std::uint32_t star, std::string_view name) const;
  void grow();
  void insert(std::uint32_t star);

  // Each block holds names as a byte of length + 1 and the name's bytes; a
  // 0 length byte or the block's end ends it.
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t used_ = blockBytes;  // bytes of the last block taken
  // Open addressing: a star's number + 1, or 0 for an empty slot.
  std::vector<std::uint32_t> slots_;
  std::size_t count_ = 0;
};

// GROUP values: 0 for na; an integer from 0 to 2^31 - 2 is its own index
// (plus one), so that the usual groups take no memory; any other integer is
// kept once. Equal integers are one group ("007" and "7").
class Groups {
 public:
  [[nodiscard]] std::uint32_t index(std::string_view group);

 private:
  std::unordered_map<std::string, std::uint32_t> others_;
  std::string key_;
};

// Filters as an index into aeff::listedFilters followed by
// aeff::knownUnlistedFilters; `unknownFilter` for any other.
inline constexpr std::uint8_t unknownFilter = 0xFF;
[[nodiscard]] std::uint8_t filterIndex(std::string_view filter);
[[nodiscard]] std::string_view filterName(std::uint8_t index);
// B, V, R, I and a colour camera's TB, TG and TR.
[[nodiscard]] bool isTransformableFilter(std::uint8_t index);

}  // namespace varistellar::report_transform
