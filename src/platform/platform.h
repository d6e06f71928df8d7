// The operating-system layer: the few calls the program makes of the system,
// behind one small interface with a POSIX and a Win32 implementation. Nothing
// else in the program includes a system header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// Opens an existing file for reading only; never creates one.
[[nodiscard]] OpenResult openForReading(const std::string& name);
// Creates a file for writing that must not exist yet (a temporary file).
[[nodiscard]] OpenResult createExclusive(const std::string& name);
// Makes what was written to the file durable before it replaces another.
[[nodiscard]] SystemError flushToDisk(Handle handle);
// Asks the system to start writing out what was written so far, without
// waiting for it, so that a large file's flushToDisk has little left to
// wait for. Only a hint: where the system takes none, nothing happens.
void startWritingOut(Handle handle);
// Renames `from` to `to`, replacing a file `to` in one step.
[[nodiscard]] SystemError replaceFile(const std::string& from, const std::string& to);
[[nodiscard]] SystemError removeFile(const std::string& name);
// True for the error of a name that is taken already (by a file, a folder or
// a link, dangling or not).
[[nodiscard]] bool isNameTaken(SystemError error);

enum class PathKind { missing, file, directory, other };
[[nodiscard]] PathKind pathKind(const std::string& name);

// The first `count` bytes (fewer when it is shorter) of a plain file that
// is the one name of its contents: nothing for a link of either kind, a
// folder, a device or a name that cannot be read. For telling a file the
// program left behind from one that merely looks like it.
[[nodiscard]] std::optional<std::string> soleFileStart(const std::string& name, std::size_t count);

// What a name given for an output (the report, the picture) leads to. A
// stream is written as it is: a device, a FIFO, or a descriptor the program
// was started with, named /dev/stdout, /dev/fd/N or /proc/self/fd/N.
enum class OutputKind { missing, file, folder, stream };
[[nodiscard]] OutputKind outputKind(const std::string& name);
// Opens a stream output for writing only: never created, never cut. A FIFO
// waits for its reader; a named descriptor is written where it stands.
[[nodiscard]] OpenResult openStreamForWriting(const std::string& name);

// True when the two names lead to one file: the same file for names that
// exist (other spellings, links and hard links included), the same resolved
// path for names that do not. Terminals and other character devices are
// shared harmlessly and never count as one file.
[[nodiscard]] bool sameFile(const std::string& first, const std::string& second);

// Creates a file without a name in `folder`, for writing, that vanishes if
// the process ends before it is named; an error where the system or the
// file system has no such files.
[[nodiscard]] OpenResult createUnnamedFile(const std::string& folder);
// Gives a file made by createUnnamedFile the name `name`, which must not
// exist yet (nothing there is followed or replaced).
[[nodiscard]] SystemError nameUnnamedFile(Handle handle, const std::string& name);
// The system's folder for temporary files ($TMPDIR or /tmp on POSIX, the
// user's temporary folder on Windows), without a separator at its end.
[[nodiscard]] std::string temporaryFolder();
// A second, reading handle on an open file, with a position of its own.
[[nodiscard]] OpenResult openAgainForReading(Handle handle);
// Gives the open file the permission bits of the existing file `model`;
// nothing when `model` does not exist or the system has no such bits.
[[nodiscard]] SystemError copyPermissions(const std::string& model, Handle handle);

// The names in a folder, without "." and ".."; none when it cannot be read.
[[nodiscard]] std::vector<std::string> folderEntries(const std::string& folder);
// True while a process of that id runs (or may run: when unsure, true).
[[nodiscard]] bool processAlive(std::uint32_t id);

// Files to remove if the process is stopped from outside (SIGINT, SIGTERM,
// SIGHUP, SIGQUIT; a console's Ctrl-C or closing) before it could remove them itself.
// The process then ends as that stop would have ended it. At most a few
// names are watched at once; false when there is no room.
[[nodiscard]] bool removeIfStopped(const std::string& name);
void stopWatching(const std::string& name);

// The separator a path made by the program puts between folder and name.
[[nodiscard]] char pathSeparator();
// True for a byte that ends a folder's name in a path ('/', and '\\' or ':'
// on Windows).
[[nodiscard]] bool isPathSeparator(char byte);

[[nodiscard]] std::uint32_t processId();

// The program's arguments after its name, as UTF-8 texts (on Windows taken
// from the wide-character command line, so that any name survives).
[[nodiscard]] std::vector<std::string> commandLineArguments(int argc, char** argv);

// How the console's own lines end: LF on POSIX, CR LF on Windows.
[[nodiscard]] std::string_view consoleLineEnd();

struct TransferResult {
  std::size_t bytes = 0;  // reading: 0 with no error is the end of the file
  SystemError error = 0;
};

// One system read of at most `buffer.size()` bytes.
[[nodiscard]] TransferResult readSome(Handle handle, std::span<char> buffer);
// Writes every byte, retrying short writes; stops at the first error.
[[nodiscard]] TransferResult writeAll(Handle handle, std::span<const char> bytes);

// Writes UTF-8 text: to a console as the characters it stands for, so that
// any name shows as it is spelled; anywhere else as the bytes themselves.
[[nodiscard]] TransferResult writeText(Handle handle, std::span<const char> bytes);

// True when the console window belongs to this process alone: it was started
// from the desktop (a double click, or files dropped on it), not from a
// console, and its window closes when it ends. Never on POSIX.
[[nodiscard]] bool consoleOwnedAlone();

// True for a disk file; false for a terminal, a pipe or any other device.
[[nodiscard]] bool isDiskFile(Handle handle);
// A disk file's size as it stands; none for anything else or when unknown.
[[nodiscard]] std::optional<std::uint64_t> diskFileSize(Handle handle);
// Cuts the file after `length` bytes when it is longer.
[[nodiscard]] SystemError truncateIfLonger(Handle handle, std::uint64_t length);
[[nodiscard]] SystemError closeFile(Handle handle);

// The value of an environment variable, or nothing when it is unset.
[[nodiscard]] std::optional<std::string> environmentVariable(const char* name);

// A system error in the platform's own words, for the command line:
// strerror's text on POSIX ("No such file or directory"), the system's
// message on Windows.
[[nodiscard]] std::string systemErrorMessage(SystemError error);
// The interactive run's text for a system error, byte for byte the legacy
// program's ("Access Denied."), whatever the platform.
[[nodiscard]] std::string legacySystemMessage(SystemError error);

// Writes what it can to standard error; a failure there is ignored.
void writeStandardError(std::string_view bytes);

[[noreturn]] void exitProcess(int status);

// Messages for the system error codes the program names itself, shared by
// both platforms (on POSIX, errno values are first mapped to these codes).
[[nodiscard]] std::optional<std::string_view> knownSystemMessage(int code);

// The time now, in seconds since 1970-01-01 00:00 UTC.
[[nodiscard]] std::int64_t secondsSinceEpoch();

// One piece of work on a thread of its own, beside the thread that starts it,
// with the same floating-point rounding as the main thread.
class WorkerThread {
 public:
  WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;
  // Waits for the work, if it still runs.
  ~WorkerThread();

  // Starts `work`; false when the system gives no thread, and then `work`
  // never runs. `stackBytes` other than 0 sets the thread's stack size, for
  // shallow work that should not take the system's default (8 MiB on Linux,
  // which counts against a limit on the process's data).
  [[nodiscard]] bool start(std::function<void()> work, std::size_t stackBytes = 0);
  // Waits until the work has returned.
  void join();

  struct State;  // the system's thread, defined by each platform

 private:
  std::unique_ptr<State> state_;
};

// A count raised by one thread and awaited by another: what one thread wrote
// before `release` is seen by the thread whose `acquire` it ends.
class Semaphore {
 public:
  explicit Semaphore(unsigned initial);
  Semaphore(const Semaphore&) = delete;
  Semaphore& operator=(const Semaphore&) = delete;
  ~Semaphore();

  // False when the system gave no semaphore; it must not then be used.
  [[nodiscard]] bool usable() const;
  void release();
  // Waits until the count is above zero, and lowers it by one.
  void acquire();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace varistellar::platform
