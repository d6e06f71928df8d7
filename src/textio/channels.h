// Text channels: the console and the numbered file channels as sequences of
// records (lines), and the statements that read and write them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "textio/fields.h"
#include "textio/record_buffer.h"

namespace varistellar::textio {

// What a statement gives back to its caller.
enum class IoOutcome : int {
  ok = 0,
  error = 1,      // the statement's error branch was taken
  endOfFile = 2,  // the statement's end-of-file branch was taken
};

// The branches a statement declares. A failure without a branch of its own
// never returns: it ends the process with the unhandled-failure report.
struct Branches {
  bool error = false;
  bool endOfFile = false;
};
inline constexpr Branches noBranches{};
inline constexpr Branches errorBranch{.error = true};
inline constexpr Branches endOfFileBranch{.endOfFile = true};

// The console has no number of its own; the failure report shows it as "*".
inline constexpr int consoleChannel = -1;

enum class StatementKind { open, close, read, write };

// A failure inside a statement: a message of the program's own, or the
// system's error value for a refused operation.
struct Failure {
  std::string_view ownMessage{};
  platform::SystemError systemError = 0;

  [[nodiscard]] bool happened() const { return !ownMessage.empty() || systemError != 0; }
};
inline constexpr std::string_view readPastEndOfFile = "Attempt to read past end of file";
inline constexpr std::string_view illegalNumericCharacter = "Illegal character in numeric input";
inline constexpr std::string_view bufferAllocationFailed = "Buffer allocation failed";

// Tab stop width for reading from a TABSIZE setting: 8 when unset, empty,
// longer than 19 characters or negative; 0 keeps a TAB as an ordinary byte.
[[nodiscard]] std::int64_t tabSizeFromSetting(const std::optional<std::string>& setting);

enum class RecordStatus { ok, endOfFile, failed };

struct RecordResult {
  RecordStatus status = RecordStatus::ok;
  Failure failure{};
};

// One open channel: a system handle with its buffer.
//
//   reading:  buffer_ [0 ........ readPos_ ........ readFill_ ...... size)
//                      taken      | not yet taken  |  unused
//   writing:  buffer_ [0 ........ writeFill_ ..................... size)
//                      written, not yet out (dirty) | free
//
// A channel is used either for reading or for writing, never both.
class Channel {
 public:
  Channel(int number, platform::Handle handle, bool isDevice, bool truncateAtFirstWrite,
          std::span<char> buffer, std::int64_t tabSize);

  // Takes the next record into `record`: LF ends it, CR is dropped anywhere,
  // TAB is expanded. Bytes after the last LF make one final record.
  [[nodiscard]] RecordResult readRecord(RecordBuffer& record);
  // Emits `record` followed by CR LF; a device is written out at once.
  [[nodiscard]] Failure writeRecord(std::string_view record);
  // Writes out what the buffer holds.
  [[nodiscard]] Failure flush();
  // Writes out the buffer and closes the handle.
  [[nodiscard]] Failure close();

  [[nodiscard]] int number() const { return number_; }
  // Bytes handed to the system since the open.
  [[nodiscard]] std::uint64_t bytesWritten() const { return written_; }

 private:
  [[nodiscard]] Failure append(std::string_view bytes);
  [[nodiscard]] bool appendTab(RecordBuffer& record) const;
  // Where `byte` next stands in the buffer at or after the read position
  // (the fill when nowhere), searching only when `cached` is out of date.
  [[nodiscard]] std::size_t nextSpecial(std::size_t& cached, char byte) const;

  static constexpr std::size_t unknownPosition = SIZE_MAX;

  int number_;
  platform::Handle handle_;
  bool isDevice_;
  bool truncateAtFirstWrite_;
  bool atEndOfFile_ = false;
  bool open_ = true;
  std::span<char> buffer_;
  std::size_t readPos_ = 0;
  std::size_t readFill_ = 0;
  std::size_t writeFill_ = 0;
  std::size_t nextLf_ = unknownPosition;
  std::size_t nextCr_ = unknownPosition;
  std::size_t nextTab_ = unknownPosition;
  std::uint64_t written_ = 0;  // bytes written to the system since the open
  std::int64_t tabSize_;
};

// ---------------------------------------------------------------- statements

// Opens a file channel. A file that exists is opened in place (nothing is cut
// until the first write reaches it); a missing one is created empty.
[[nodiscard]] IoOutcome openChannel(int number, std::string_view fileName, Branches branches);
// Writes out and closes a channel; a number not connected is ok.
IoOutcome closeChannel(int number);

// Read statements. Each takes the channel's next record; what is left of the
// last record read is discarded when the statement ends.
[[nodiscard]] IoOutcome readTextField(int channel, Branches branches, int width,
                                      std::span<char> variable);
[[nodiscard]] IoOutcome readFreeForm(int channel, Branches branches,
                                     std::span<double* const> variables);
IoOutcome readNothing(int channel, Branches branches);

// Write statements; the program gives its writes no branches.
IoOutcome writeRecord(int channel, std::string_view record);
IoOutcome writeLayout(int channel, std::span<const LayoutItem> layout,
                      std::span<const FieldValue> values);
// One blank, then the text values unchanged, as one record.
IoOutcome writeFreeForm(int channel, std::initializer_list<std::string_view> values = {});

// Shows `prompt` on the console and waits for one line of input.
void pausePrompt(std::string_view prompt);

// Closes every open channel and ends the process with `exitStatus`.
[[noreturn]] void endRun(int exitStatus);

// Closes every open channel, reports the failure on standard error and ends
// the process with exit status -1.
[[noreturn]] void reportUnhandledFailure(const Failure& failure, StatementKind statement,
                                         int channel);

}  // namespace varistellar::textio
