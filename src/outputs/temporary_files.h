// The temporary files that hold an output until it is complete: their
// names, and the removal of those left behind by runs that were stopped
// before they could remove them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varistellar::outputs {

// The folder part of a path, with its last separator; empty for a name in
// the current folder.
[[nodiscard]] std::string folderOf(std::string_view path);

// The longest name a folder entry may have, in bytes.
inline constexpr std::size_t longestEntryName = 255;

// Who made a temporary name, and the random tag that makes it one no user
// types by chance.
struct TemporaryOwner {
  std::uint32_t processId = 0;
  std::uint32_t tag = 0;
  friend bool operator==(const TemporaryOwner&, const TemporaryOwner&) = default;
};

// The temporary name for `output` beside it: its name, then
// ".varistellar-PID-TAG.tmp" with the tag in 8 hexadecimal digits; the
// output's name is cut (at a character's start) when the whole would not
// fit a folder entry.
[[nodiscard]] std::string temporaryName(std::string_view output, TemporaryOwner owner);

// A tag for a new temporary name, different from run to run.
[[nodiscard]] std::uint32_t freshTemporaryTag();

// Who would have named the folder entry `entry` as a temporary file of
// `output`; nothing for any other entry.
[[nodiscard]] std::optional<TemporaryOwner> temporaryNameOwner(std::string_view output,
                                                               std::string_view entry);

// True when a file's first bytes are how the program's outputs begin: a
// report (a `#` line, perhaps after a byte-order mark), a picture (the SVG
// prolog), or a part of either cut short by a stop.
[[nodiscard]] bool beginsAsAnOutput(std::string_view start);

// What was found beside an output: the temporary files of stopped runs,
// removed, and files named like them that could not be told to be the
// program's own, left where they are.
struct StaleTemporaries {
  std::vector<std::string> removed;
  std::vector<std::string> left;
};

// Removes the temporary files of `output` whose runs no longer live, when
// each is a plain file of one name that begins as an output begins.
[[nodiscard]] StaleTemporaries removeStaleTemporaries(const std::string& output);

// The notes that tell the user what was removed, and what was left.
[[nodiscard]] std::string removedTemporaryNote(const std::string& removed);
[[nodiscard]] std::string leftTemporaryNote(const std::string& left);

}  // namespace varistellar::outputs
