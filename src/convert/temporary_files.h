// The temporary files that hold convert's outputs until they are complete:
// their names, and the removal of those left behind by runs that were
// stopped before they could remove them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varistellar::convert {

// The folder part of a path, with its last separator; empty for a name in
// the current folder.
[[nodiscard]] std::string folderOf(std::string_view path);

// The longest name a folder entry may have, in bytes.
inline constexpr std::size_t longestEntryName = 255;

// The temporary name for `output` beside it: its name, the process id and,
// after the first attempt, the attempt's number, then ".tmp"; the output's
// name is cut (at a character's start) when the whole would not fit a
// folder entry.
[[nodiscard]] std::string temporaryName(std::string_view output, std::uint32_t processId,
                                        unsigned attempt);

// The id of the process that would have named the folder entry `entry` as
// a temporary file of `output`; nothing for any other entry.
[[nodiscard]] std::optional<std::uint32_t> temporaryNameOwner(std::string_view output,
                                                              std::string_view entry);

// Removes the temporary files of `output` whose runs no longer live; the
// names removed.
[[nodiscard]] std::vector<std::string> removeStaleTemporaries(const std::string& output);

// The note that tells the user one of those was removed.
[[nodiscard]] std::string removedTemporaryNote(const std::string& removed);

}  // namespace varistellar::convert
