// The operating-system layer: the few calls the program makes of the system,
// behind one small interface with a POSIX and a Win32 implementation. Nothing
// else in the program includes a system header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace varistellar::platform {

// An open file or standard stream. The value is the system's own handle or
// descriptor, widened; `invalidHandle` marks none.
using Handle = std::intptr_t;
inline constexpr Handle invalidHandle = -1;

// A system error: 0 is success, anything else the system's own error value
// (errno on POSIX, GetLastError() on Windows).
using SystemError = int;

enum class StandardStream { input, output, error };

// Prepares the process: the rounding mode and masked floating-point
// exceptions every sum relies on, a broken pipe reported as an ordinary write
// failure, and standard streams that are never silently shared with a file.
void prepareProcess();

[[nodiscard]] Handle standardHandle(StandardStream stream);

struct OpenResult {
  Handle handle = invalidHandle;
  SystemError error = 0;
};

// Tries to open an existing file for reading and closes it again at once.
[[nodiscard]] bool probeExistingFile(const std::string& name);
// Opens an existing file in place for reading and writing, at its start,
// sharing reading and writing with other processes.
[[nodiscard]] OpenResult openExistingFile(const std::string& name);
// Creates the file anew and empty (replacing any file of that name).
[[nodiscard]] OpenResult createEmptyFile(const std::string& name);

struct TransferResult {
  std::size_t bytes = 0;  // reading: 0 with no error is the end of the file
  SystemError error = 0;
};

// One system read of at most `buffer.size()` bytes.
[[nodiscard]] TransferResult readSome(Handle handle, std::span<char> buffer);
// Writes every byte, retrying short writes; stops at the first error.
[[nodiscard]] TransferResult writeAll(Handle handle, std::span<const char> bytes);

// True for a disk file; false for a terminal, a pipe or any other device.
[[nodiscard]] bool isDiskFile(Handle handle);
// Cuts the file after `length` bytes when it is longer.
[[nodiscard]] SystemError truncateIfLonger(Handle handle, std::uint64_t length);
[[nodiscard]] SystemError closeFile(Handle handle);

// The value of an environment variable, or nothing when it is unset.
[[nodiscard]] std::optional<std::string> environmentVariable(const char* name);

// The program's message text for a system error, e.g. "Access Denied.".
[[nodiscard]] std::string systemErrorMessage(SystemError error);

// Writes what it can to standard error; a failure there is ignored.
void writeStandardError(std::string_view bytes);

[[noreturn]] void exitProcess(int status);

// Messages for the system error codes the program names itself, shared by
// both platforms (on POSIX, errno values are first mapped to these codes).
[[nodiscard]] std::optional<std::string_view> knownSystemMessage(int code);

}  // namespace varistellar::platform
