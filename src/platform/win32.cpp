// The Win32 implementation of the operating-system layer.
//
// Every byte goes through ReadFile and WriteFile on the raw handles: no C
// runtime stream stands between the program and the console or a file, so
// nothing translates line ends or code pages behind the program's back.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <algorithm>
#include <cfenv>
#include <cwchar>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace varistellar::platform {
namespace {

HANDLE systemHandle(Handle handle) { return reinterpret_cast<HANDLE>(handle); }

Handle programHandle(HANDLE handle) { return reinterpret_cast<Handle>(handle); }

SystemError lastError() { return static_cast<SystemError>(GetLastError()); }

// One transfer moves at most what a DWORD counts.
DWORD transferSize(std::size_t size) {
  return static_cast<DWORD>(std::min<std::size_t>(size, std::numeric_limits<DWORD>::max()));
}

// A UTF-8 name as the wide-character name the system's W calls take; empty
// when the bytes are not UTF-8.
std::wstring wideName(const std::string& name) {
  if (name.empty()) return {};
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(),
                                         static_cast<int>(name.size()), nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), static_cast<int>(name.size()),
                      wide.data(), length);
  return wide;
}

std::string utf8Text(const wchar_t* wide) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) return {};
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
  text.pop_back();  // the terminating NUL
  return text;
}

OpenResult openFile(const std::string& name, DWORD access, DWORD disposition) {
  const std::wstring wide = wideName(name);
  if (wide.empty()) return {invalidHandle, ERROR_INVALID_NAME};
  const HANDLE handle = CreateFileW(wide.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {invalidHandle, lastError()};
  return {programHandle(handle), 0};
}

// Moves the file position to `offset` from `method`'s origin and gives the
// new position. Subtle: INVALID_SET_FILE_POINTER is also the low half of a
// valid position, so only the error value tells a failure.
SystemError moveFilePointer(HANDLE file, std::int64_t offset, DWORD method,
                            std::uint64_t& position) {
  const auto wanted = static_cast<std::uint64_t>(offset);
  LONG high = static_cast<LONG>(wanted >> 32);
  SetLastError(NO_ERROR);
  const DWORD low = SetFilePointer(file, static_cast<LONG>(wanted & 0xFFFFFFFFu), &high, method);
  if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return lastError();
  position = (std::uint64_t{static_cast<DWORD>(high)} << 32) | low;
  return 0;
}

// FormatMessageA's text for a code, without the line end it closes with;
// empty when the system has no text for it.
std::string formattedMessage(DWORD code, DWORD language) {
  char text[1024];
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, code, language, text, sizeof text, nullptr);
  std::string message{text, length};
  while (!message.empty() &&
         (message.back() == '\r' || message.back() == '\n' || message.back() == ' ')) {
    message.pop_back();
  }
  return message;
}

}  // namespace

void prepareProcess() {
  // Windows raises no signal for a broken pipe, and a standard handle is
  // never handed to a file the program opens: only the floating-point
  // environment needs setting. The default one masks every exception.
  std::fesetenv(FE_DFL_ENV);
  std::fesetround(FE_TONEAREST);
  std::feclearexcept(FE_ALL_EXCEPT);
}

Handle standardHandle(StandardStream stream) {
  switch (stream) {
    case StandardStream::input: return programHandle(GetStdHandle(STD_INPUT_HANDLE));
    case StandardStream::output: return programHandle(GetStdHandle(STD_OUTPUT_HANDLE));
    case StandardStream::error: return programHandle(GetStdHandle(STD_ERROR_HANDLE));
  }
  return invalidHandle;
}

bool probeExistingFile(const std::string& name) {
  const OpenResult probe = openFile(name, GENERIC_READ, OPEN_EXISTING);
  if (probe.error != 0) return false;
  CloseHandle(systemHandle(probe.handle));
  return true;
}

OpenResult openExistingFile(const std::string& name) {
  return openFile(name, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
}

OpenResult createEmptyFile(const std::string& name) {
  return openFile(name, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
}

OpenResult openForReading(const std::string& name) {
  return openFile(name, GENERIC_READ, OPEN_EXISTING);
}

OpenResult createExclusive(const std::string& name) {
  // Shared for deleting, so that a console's Ctrl-C can remove it while it
  // is still open (it goes when the process ends).
  const std::wstring wide = wideName(name);
  if (wide.empty()) return {invalidHandle, ERROR_INVALID_NAME};
  const HANDLE handle = CreateFileW(wide.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {invalidHandle, lastError()};
  return {programHandle(handle), 0};
}

SystemError flushToDisk(Handle handle) {
  if (!FlushFileBuffers(systemHandle(handle)) && GetLastError() != ERROR_INVALID_HANDLE) {
    return lastError();
  }
  return 0;
}

// Windows writes a file's cache out by itself and offers no such hint.
void startWritingOut(Handle) {}

SystemError replaceFile(const std::string& from, const std::string& to) {
  const std::wstring wideFrom = wideName(from);
  const std::wstring wideTo = wideName(to);
  if (wideFrom.empty() || wideTo.empty()) return ERROR_INVALID_NAME;
  if (!MoveFileExW(wideFrom.c_str(), wideTo.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return lastError();
  }
  return 0;
}

SystemError removeFile(const std::string& name) {
  const std::wstring wide = wideName(name);
  if (wide.empty()) return ERROR_INVALID_NAME;
  if (!DeleteFileW(wide.c_str())) return lastError();
  return 0;
}

bool isNameTaken(SystemError error) {
  return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

PathKind pathKind(const std::string& name) {
  const std::wstring wide = wideName(name);
  if (wide.empty()) return PathKind::missing;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::missing;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return PathKind::directory;
  if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) return PathKind::other;
  return PathKind::file;
}

std::optional<std::string> soleFileStart(const std::string& name, std::size_t count) {
  const std::wstring wide = wideName(name);
  if (wide.empty()) return std::nullopt;
  // The link itself is opened, never what it leads to.
  const HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION information{};
  std::optional<std::string> start;
  constexpr DWORD notPlain =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
  if (GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &information) != 0 &&
      (information.dwFileAttributes & notPlain) == 0 && information.nNumberOfLinks == 1) {
    std::string bytes(count, '\0');
    std::size_t got = 0;
    while (got < count) {
      const TransferResult read =
          readSome(programHandle(file), std::span<char>{bytes.data() + got, count - got});
      if (read.error != 0 || read.bytes == 0) break;
      got += read.bytes;
    }
    bytes.resize(got);
    start = std::move(bytes);
  }
  CloseHandle(file);
  return start;
}

namespace {

// True for the names Windows keeps for its devices in every folder (CON,
// NUL, COM1, ...), with or without an extension.
bool isDeviceName(const std::string& name) {
  std::size_t start = name.size();
  while (start > 0 && !isPathSeparator(name[start - 1])) --start;
  std::string base = name.substr(start, name.find('.', start) - start);
  // cppcheck-suppress useStlAlgorithm ; one plain loop over a few letters
  for (char& c : base) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONOUT$") {
    return true;
  }
  return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) &&
         base[3] >= '1' && base[3] <= '9';
}

// The volume and index that name one file, or nothing when it cannot be
// opened.
std::optional<std::pair<DWORD, std::uint64_t>> fileIndex(const std::wstring& name) {
  const HANDLE file =
      CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION information{};
  const bool known =
      GetFileInformationByHandle(file, &information) != 0 && GetFileType(file) == FILE_TYPE_DISK;
  CloseHandle(file);
  if (!known) return std::nullopt;
  return std::pair{information.dwVolumeSerialNumber,
                   (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow};
}

std::wstring fullPath(const std::wstring& name) {
  const DWORD length = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
  if (length == 0) return name;
  std::wstring full(length, L'\0');
  const DWORD written = GetFullPathNameW(name.c_str(), length, full.data(), nullptr);
  full.resize(written);
  return full;
}

}  // namespace

OutputKind outputKind(const std::string& name) {
  const std::wstring wide = wideName(name);
  if (wide.empty()) return OutputKind::missing;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return isDeviceName(name) ? OutputKind::stream : OutputKind::missing;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return OutputKind::folder;
  if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0 || isDeviceName(name)) return OutputKind::stream;
  return OutputKind::file;
}

OpenResult openStreamForWriting(const std::string& name) {
  return openFile(name, GENERIC_WRITE, OPEN_EXISTING);
}

bool sameFile(const std::string& first, const std::string& second) {
  const std::wstring a = wideName(first);
  const std::wstring b = wideName(second);
  if (a.empty() || b.empty()) return false;
  const DWORD aAttributes = GetFileAttributesW(a.c_str());
  const DWORD bAttributes = GetFileAttributesW(b.c_str());
  const bool aExists = aAttributes != INVALID_FILE_ATTRIBUTES;
  if (aExists != (bAttributes != INVALID_FILE_ATTRIBUTES)) return false;
  if (aExists) {
    const auto aIndex = fileIndex(a);
    const auto bIndex = fileIndex(b);
    if (aIndex && bIndex) return *aIndex == *bIndex;
    if (aIndex || bIndex) return false;
  } else if (isDeviceName(first) || isDeviceName(second)) {
    return false;
  }
  // Windows' names ignore case.
  const std::wstring aFull = fullPath(a);
  const std::wstring bFull = fullPath(b);
  return CompareStringOrdinal(aFull.c_str(), static_cast<int>(aFull.size()), bFull.c_str(),
                              static_cast<int>(bFull.size()), TRUE) == CSTR_EQUAL;
}

OpenResult createUnnamedFile(const std::string&) { return {invalidHandle, ERROR_NOT_SUPPORTED}; }

SystemError nameUnnamedFile(Handle, const std::string&) { return ERROR_NOT_SUPPORTED; }

std::string temporaryFolder() {
  std::wstring folder(MAX_PATH + 1, L'\0');
  const DWORD length = GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
  if (length == 0 || length > folder.size()) return ".";
  folder.resize(length);
  while (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  return utf8Text(folder.c_str());
}

OpenResult openAgainForReading(Handle handle) {
  const HANDLE again = ReOpenFile(systemHandle(handle), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0);
  if (again == INVALID_HANDLE_VALUE) return {invalidHandle, lastError()};
  return {programHandle(again), 0};
}

// Windows' files have no permission bits of their own to carry over.
SystemError copyPermissions(const std::string&, Handle) { return 0; }

std::vector<std::string> folderEntries(const std::string& folder) {
  std::vector<std::string> names;
  std::string pattern = folder.empty() ? std::string{"."} : folder;
  if (!isPathSeparator(pattern.back())) pattern.push_back('\\');
  const std::wstring wide = wideName(pattern + "*");
  if (wide.empty()) return names;
  WIN32_FIND_DATAW entry{};
  const HANDLE search = FindFirstFileW(wide.c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = utf8Text(entry.cFileName);
    if (name != "." && name != ".." && !name.empty()) names.push_back(name);
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  return names;
}

bool processAlive(std::uint32_t id) {
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (process == nullptr) return GetLastError() != ERROR_INVALID_PARAMETER;
  DWORD status = 0;
  const bool ended = GetExitCodeProcess(process, &status) != 0 && status != STILL_ACTIVE;
  CloseHandle(process);
  return !ended;
}

namespace {

// The watched names live in fixed storage, read by the console's handler on
// a thread of its own.
constexpr std::size_t watchSlots = 4;
constexpr std::size_t watchNameSize = 4096;
wchar_t watchedNames[watchSlots][watchNameSize];
volatile LONG slotInUse[watchSlots];

BOOL WINAPI removeWatchedOnStop(DWORD event) {
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT ||
      event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
    for (std::size_t i = 0; i < watchSlots; ++i) {
      if (slotInUse[i] != 0) DeleteFileW(watchedNames[i]);
    }
  }
  return FALSE;  // the default handling ends the process, as it would have
}

}  // namespace

bool removeIfStopped(const std::string& name) {
  const std::wstring wide = wideName(name);
  if (wide.empty() || wide.size() >= watchNameSize) return false;
  static const bool installed = SetConsoleCtrlHandler(removeWatchedOnStop, TRUE) != 0;
  (void)installed;
  for (std::size_t i = 0; i < watchSlots; ++i) {
    if (slotInUse[i] != 0) continue;
    wcscpy(watchedNames[i], wide.c_str());
    InterlockedExchange(&slotInUse[i], 1);
    return true;
  }
  return false;
}

void stopWatching(const std::string& name) {
  const std::wstring wide = wideName(name);
  for (std::size_t i = 0; i < watchSlots; ++i) {
    if (slotInUse[i] != 0 && wide == watchedNames[i]) InterlockedExchange(&slotInUse[i], 0);
  }
}

char pathSeparator() { return '\\'; }

bool isPathSeparator(char byte) { return byte == '\\' || byte == '/' || byte == ':'; }

std::uint32_t processId() { return static_cast<std::uint32_t>(GetCurrentProcessId()); }

}  // namespace varistellar::platform

// The C runtime's own wide-character arguments (msvcrt.dll), so that names in
// any script reach the program whatever the console's code page.
extern "C" int __wgetmainargs(int* argc, wchar_t*** argv, wchar_t*** env, int expandWildcards,
                              int* startInfo);

namespace varistellar::platform {

std::vector<std::string> commandLineArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = nullptr;
  wchar_t** environment = nullptr;
  int startInfo = 0;
  std::vector<std::string> arguments;
  if (__wgetmainargs(&count, &wide, &environment, 0, &startInfo) == 0 && wide != nullptr) {
    for (int i = 1; i < count; ++i) arguments.push_back(utf8Text(wide[i]));
    return arguments;
  }
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  return arguments;
}

std::string_view consoleLineEnd() { return "\r\n"; }

TransferResult readSome(Handle handle, std::span<char> buffer) {
  DWORD got = 0;
  if (ReadFile(systemHandle(handle), buffer.data(), transferSize(buffer.size()), &got, nullptr)) {
    return {got, 0};
  }
  const DWORD error = GetLastError();
  // A pipe whose writer has gone is the end of the input, not a failure.
  if (error == ERROR_BROKEN_PIPE) return {0, 0};
  return {0, static_cast<SystemError>(error)};
}

TransferResult writeAll(Handle handle, std::span<const char> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD put = 0;
    if (!WriteFile(systemHandle(handle), bytes.data() + done, transferSize(bytes.size() - done),
                   &put, nullptr)) {
      return {done, lastError()};
    }
    // A write that succeeds without moving a byte would retry for ever.
    if (put == 0) return {done, ERROR_WRITE_FAULT};
    done += put;
  }
  return {done, 0};
}

TransferResult writeText(Handle handle, std::span<const char> bytes) {
  DWORD mode = 0;
  if (bytes.empty() || !GetConsoleMode(systemHandle(handle), &mode)) return writeAll(handle, bytes);
  // A console shows bytes in its code page; its wide characters are the text
  // itself. Bytes that are not UTF-8 show as the replacement character.
  const int size = static_cast<int>(std::min<std::size_t>(bytes.size(), 1 << 30));
  const int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, wide.data(), length);
  std::size_t done = 0;
  while (done < wide.size()) {
    DWORD put = 0;
    if (!WriteConsoleW(systemHandle(handle), wide.data() + done,
                       static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 8192)), &put,
                       nullptr)) {
      return {0, lastError()};
    }
    if (put == 0) return {0, ERROR_WRITE_FAULT};
    done += put;
  }
  return {bytes.size(), 0};
}

bool consoleOwnedAlone() {
  DWORD processes[2] = {};
  return GetConsoleProcessList(processes, 2) == 1;
}

bool isDiskFile(Handle handle) { return GetFileType(systemHandle(handle)) == FILE_TYPE_DISK; }

std::optional<std::uint64_t> diskFileSize(Handle handle) {
  LARGE_INTEGER size{};
  if (!isDiskFile(handle) || GetFileSizeEx(systemHandle(handle), &size) == 0) return std::nullopt;
  return static_cast<std::uint64_t>(size.QuadPart);
}

SystemError truncateIfLonger(Handle handle, std::uint64_t length) {
  const HANDLE file = systemHandle(handle);
  DWORD sizeHigh = 0;
  SetLastError(NO_ERROR);
  const DWORD sizeLow = GetFileSize(file, &sizeHigh);
  // Subtle: as above, INVALID_FILE_SIZE may be the low half of a valid size.
  if (sizeLow == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return lastError();
  const std::uint64_t size = (std::uint64_t{sizeHigh} << 32) | sizeLow;
  if (size <= length) return 0;

  // Cut at `length`, then put the position back where the writes left it.
  std::uint64_t position = 0;
  std::uint64_t cut = 0;
  if (const SystemError error = moveFilePointer(file, 0, FILE_CURRENT, position)) return error;
  if (const SystemError error =
          moveFilePointer(file, static_cast<std::int64_t>(length), FILE_BEGIN, cut)) {
    return error;
  }
  if (!SetEndOfFile(file)) return lastError();
  return moveFilePointer(file, static_cast<std::int64_t>(position), FILE_BEGIN, cut);
}

SystemError closeFile(Handle handle) {
  if (!CloseHandle(systemHandle(handle))) return lastError();
  return 0;
}

std::optional<std::string> environmentVariable(const char* name) {
  std::string value(64, '\0');
  for (;;) {
    SetLastError(NO_ERROR);
    const DWORD length =
        GetEnvironmentVariableA(name, value.data(), static_cast<DWORD>(value.size()));
    // 0 is either an unset variable or one set to the empty text.
    if (length == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string{};
    }
    // A value that does not fit gives the size it needs, its NUL included;
    // one that fits gives its length without the NUL.
    if (length < value.size()) {
      value.resize(length);
      return value;
    }
    value.resize(length);
  }
}

// Windows' own words are the legacy texts where the program names them, as
// both the command line and the interactive run have always said them.
std::string systemErrorMessage(SystemError error) { return legacySystemMessage(error); }

std::string legacySystemMessage(SystemError error) {
  if (const auto known = knownSystemMessage(error)) return std::string{*known};
  const auto code = static_cast<DWORD>(error);
  // The program speaks English; the system's own language is the fallback.
  std::string message = formattedMessage(code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
  if (message.empty()) message = formattedMessage(code, 0);
  if (message.empty()) message = "System error " + std::to_string(code) + ".";
  return message;
}

void writeStandardError(std::string_view bytes) {
  (void)writeAll(standardHandle(StandardStream::error), {bytes.data(), bytes.size()});
}

void exitProcess(int status) { ExitProcess(static_cast<UINT>(status)); }

std::int64_t secondsSinceEpoch() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  // 100-nanosecond ticks since 1601-01-01; 1970 is 11644473600 seconds later.
  const std::uint64_t ticks =
      (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return static_cast<std::int64_t>(ticks / 10'000'000u) - 11'644'473'600;
}

struct WorkerThread::State {
  std::function<void()> work;
  HANDLE thread = nullptr;
};

namespace {

DWORD WINAPI runWork(LPVOID state) {
  // A new thread starts with the system's default floating-point control.
  std::fesetround(FE_TONEAREST);
  static_cast<WorkerThread::State*>(state)->work();
  return 0;
}

}  // namespace

WorkerThread::WorkerThread() : state_{std::make_unique<State>()} {}

WorkerThread::~WorkerThread() { join(); }

bool WorkerThread::start(std::function<void()> work, std::size_t stackBytes) {
  if (state_->thread != nullptr) return false;
  state_->work = std::move(work);
  // The size reserved for the stack, not committed at once.
  state_->thread = CreateThread(nullptr, stackBytes, runWork, state_.get(),
                                stackBytes != 0 ? STACK_SIZE_PARAM_IS_A_RESERVATION : 0, nullptr);
  return state_->thread != nullptr;
}

void WorkerThread::join() {
  if (state_->thread == nullptr) return;
  WaitForSingleObject(state_->thread, INFINITE);
  CloseHandle(state_->thread);
  state_->thread = nullptr;
}

struct Semaphore::State {
  HANDLE semaphore = nullptr;
};

Semaphore::Semaphore(unsigned initial) : state_{std::make_unique<State>()} {
  state_->semaphore = CreateSemaphoreW(nullptr, static_cast<LONG>(initial),
                                       std::numeric_limits<LONG>::max(), nullptr);
}

Semaphore::~Semaphore() {
  if (state_->semaphore != nullptr) CloseHandle(state_->semaphore);
}

bool Semaphore::usable() const { return state_->semaphore != nullptr; }

void Semaphore::release() { ReleaseSemaphore(state_->semaphore, 1, nullptr); }

void Semaphore::acquire() { WaitForSingleObject(state_->semaphore, INFINITE); }

}  // namespace varistellar::platform
