// The names a report repeats on every row, each kept once and named by a
// small index: its stars (STARID), its GROUP values and its filters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace varistellar::report_transform {

// STARIDs, compared without regard to case as all words of the format are.
class StarNames {
 public:
  [[nodiscard]] std::uint32_t index(std::string_view starId);
  // As first written.
  [[nodiscard]] const std::string& name(std::uint32_t index) const { return names_[index]; }
  [[nodiscard]] std::size_t size() const { return names_.size(); }

 private:
  std::unordered_map<std::string, std::uint32_t> indices_;  // by the name in capitals
  std::vector<std::string> names_;
  std::string key_;  // reused for each lookup
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
