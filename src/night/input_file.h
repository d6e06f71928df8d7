// Opening one of convert's input files: a file that cannot be read as lines
// of text is named for what it is, in one sentence, rather than with an
// error on every line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "textio/line_reader.h"

namespace varistellar::night {

// How the messages speak of an input file.
struct InputFile {
  std::string_view name;    // "the light-curve table"
  std::string_view kind;    // "a light-curve table"
  std::string_view wanted;  // what to give instead of a file that is no text
};

inline constexpr InputFile lightCurveTable{"the light-curve table", "a light-curve table",
                                           "the light-curve table that MAGNIVEX writes"};
inline constexpr InputFile parameterFile{"the parameter file", "a parameter file",
                                         "the parameter file, a text file of twelve lines"};

// Why `reader`, opened from `path`, cannot be read as lines of text (a
// folder, a file that cannot be opened or read, UTF-16 text, CR line ends,
// NUL bytes), in one sentence; nothing when it can be.
[[nodiscard]] std::optional<std::string> unreadableAsLines(const std::string& path,
                                                           textio::LineReader& reader,
                                                           const InputFile& file);

// Why a file whose first bytes are `beginning` cannot be read as lines of
// text (UTF-16 text, CR line ends, NUL bytes), in one sentence; nothing when
// it can be.
[[nodiscard]] std::optional<std::string> notLinesOfText(std::string_view beginning,
                                                        const InputFile& file);

// The sentence for a failure of the system while the file's lines are read.
[[nodiscard]] std::string cannotReadMessage(const InputFile& file, const textio::Failure& failure);

// The sentence for a line longer than the reader takes, after which the
// file is read no further.
[[nodiscard]] std::string longLineMessage(const InputFile& file);

// Why a reading ended before the end of the file (a failure of the system,
// a line longer than the reader takes), as the line to name (0: none) and
// the sentence; nothing when it did not.
struct ReadingFault {
  std::uint64_t line = 0;
  std::string text;
};
[[nodiscard]] std::optional<ReadingFault> readingFault(const textio::LineReader& reader,
                                                       const InputFile& file);

// The sentence for a NUL byte in a line past the file's first bytes.
[[nodiscard]] std::string nulByteMessage(const InputFile& file);

}  // namespace varistellar::night
