// The POSIX implementation of the operating-system layer.
#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <semaphore.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cfenv>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>

#include "platform/platform.h"

namespace varistellar::platform {
namespace {

int descriptor(Handle handle) { return static_cast<int>(handle); }

// A standard stream that the caller closed must not be taken over by the
// first file the program opens: the console would then read or write that
// file. Such a stream is pointed at /dev/null opened for reading only, so a
// console read meets the end of input and a console write fails.
void keepStandardStreamTaken(int fd) {
  if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) return;
  const int opened = open("/dev/null", O_RDONLY);
  if (opened >= 0 && opened != fd) {
    dup2(opened, fd);
    close(opened);
  }
}

// Maps errno to the codes whose messages the program names itself; any other
// errno keeps its own value and is described by strerror.
int programErrorCode(int error) {
  switch (error) {
    case ENOENT: return 2;
    case ENOTDIR: return 3;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return 5;
    case ETXTBSY:
    case EBUSY: return 32;
    case ENOSPC:
    case EDQUOT: return 112;
    case ENAMETOOLONG:
    case EINVAL: return 123;
    default: return 0;
  }
}

OpenResult openDescriptor(const std::string& name, int flags) {
  int fd = -1;
  do {
    fd = open(name.c_str(), flags | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return {invalidHandle, errno};
  return {fd, 0};
}

}  // namespace

void prepareProcess() {
  std::fesetround(FE_TONEAREST);
  std::feclearexcept(FE_ALL_EXCEPT);
  std::signal(SIGPIPE, SIG_IGN);
  keepStandardStreamTaken(STDIN_FILENO);
  keepStandardStreamTaken(STDOUT_FILENO);
  keepStandardStreamTaken(STDERR_FILENO);
}

Handle standardHandle(StandardStream stream) {
  switch (stream) {
    case StandardStream::input: return STDIN_FILENO;
    case StandardStream::output: return STDOUT_FILENO;
    case StandardStream::error: return STDERR_FILENO;
  }
  return invalidHandle;
}

bool probeExistingFile(const std::string& name) {
  const OpenResult probe = openDescriptor(name, O_RDONLY);
  if (probe.error != 0) return false;
  close(descriptor(probe.handle));
  return true;
}

OpenResult openExistingFile(const std::string& name) { return openDescriptor(name, O_RDWR); }

OpenResult createEmptyFile(const std::string& name) {
  return openDescriptor(name, O_RDWR | O_CREAT | O_TRUNC);
}

OpenResult openForReading(const std::string& name) { return openDescriptor(name, O_RDONLY); }

OpenResult createExclusive(const std::string& name) {
  return openDescriptor(name, O_WRONLY | O_CREAT | O_EXCL);
}

SystemError flushToDisk(Handle handle) {
  // A device or pipe cannot be synchronised, and need not be.
  if (fsync(descriptor(handle)) != 0 && errno != EINVAL && errno != EROFS) return errno;
  return 0;
}

void startWritingOut(Handle handle) {
#if defined(__linux__)
  // Whatever fails here (a pipe, a device) fails again, and is told, at flushToDisk.
  (void)sync_file_range(descriptor(handle), 0, 0, SYNC_FILE_RANGE_WRITE);
#else
  (void)handle;
#endif
}

SystemError replaceFile(const std::string& from, const std::string& to) {
  if (rename(from.c_str(), to.c_str()) != 0) return errno;
  return 0;
}

SystemError removeFile(const std::string& name) {
  if (unlink(name.c_str()) != 0) return errno;
  return 0;
}

bool isNameTaken(SystemError error) { return error == EEXIST; }

PathKind pathKind(const std::string& name) {
  struct stat status {};
  if (stat(name.c_str(), &status) != 0) return PathKind::missing;
  if (S_ISREG(status.st_mode)) return PathKind::file;
  if (S_ISDIR(status.st_mode)) return PathKind::directory;
  return PathKind::other;
}

std::optional<std::string> soleFileStart(const std::string& name, std::size_t count) {
  // Never through a link, and never blocking on a FIFO put in its place.
  const OpenResult opened = openDescriptor(name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
  if (opened.error != 0) return std::nullopt;
  const int fd = descriptor(opened.handle);
  struct stat status {};
  std::optional<std::string> start;
  if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_nlink == 1) {
    std::string bytes(count, '\0');
    std::size_t got = 0;
    while (got < count) {
      const ssize_t n = read(fd, bytes.data() + got, count - got);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    start = std::move(bytes);
  }
  close(fd);
  return start;
}

namespace {

// The descriptor a name such as /dev/stdout, /dev/fd/3 or /proc/self/fd/3
// stands for; nothing for any other name.
std::optional<int> namedDescriptor(const std::string& name) {
  if (name == "/dev/stdin") return 0;
  if (name == "/dev/stdout") return 1;
  if (name == "/dev/stderr") return 2;
  std::string_view rest{name};
  if (rest.starts_with("/dev/fd/")) {
    rest.remove_prefix(8);
  } else if (rest.starts_with("/proc/self/fd/")) {
    rest.remove_prefix(14);
  } else {
    return std::nullopt;
  }
  if (rest.empty() || rest.size() > 9) return std::nullopt;
  int number = 0;
  for (const char digit : rest) {
    if (digit < '0' || digit > '9') return std::nullopt;
    number = number * 10 + (digit - '0');
  }
  return number;
}

// The status of what a name leads to, a named descriptor's included.
bool statusOf(const std::string& name, struct stat& status) {
  if (const auto number = namedDescriptor(name)) return fstat(*number, &status) == 0;
  return stat(name.c_str(), &status) == 0;
}

// `name` made absolute and rid of ".", ".." and doubled slashes, by its
// text alone.
std::string lexicallyAbsolute(const std::string& name) {
  std::string path = name;
  if (path.empty() || path.front() != '/') {
    char here[4096];
    if (getcwd(here, sizeof here) != nullptr) path = std::string{here} + "/" + path;
  }
  std::vector<std::string_view> parts;
  std::string_view rest{path};
  while (!rest.empty()) {
    const std::size_t slash = rest.find('/');
    const std::string_view part = rest.substr(0, slash);
    rest.remove_prefix(slash == std::string_view::npos ? rest.size() : slash + 1);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::string result;
  for (const std::string_view part : parts) result.append("/").append(part);
  return result.empty() ? "/" : result;
}

// Where a name that does not exist would be made: its folder resolved
// through every link when that folder exists.
std::string resolvedPath(const std::string& name) {
  std::string path = lexicallyAbsolute(name);
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
  char resolved[PATH_MAX];
  if (realpath(folder.c_str(), resolved) == nullptr) return path;
  std::string result{resolved};
  if (result != "/") result.push_back('/');
  return result + path.substr(slash + 1);
}

}  // namespace

OutputKind outputKind(const std::string& name) {
  if (namedDescriptor(name)) return OutputKind::stream;
  struct stat status {};
  if (stat(name.c_str(), &status) != 0) return OutputKind::missing;
  if (S_ISREG(status.st_mode)) return OutputKind::file;
  if (S_ISDIR(status.st_mode)) return OutputKind::folder;
  return OutputKind::stream;
}

OpenResult openStreamForWriting(const std::string& name) {
  if (const auto number = namedDescriptor(name)) {
    // Written where the descriptor stands, as a shell's redirection left it:
    // opening the name again would start a redirected file over at its
    // beginning.
    const int flags = fcntl(*number, F_GETFL);
    if (flags == -1) return {invalidHandle, errno};
    if ((flags & O_ACCMODE) == O_RDONLY) return {invalidHandle, EBADF};
    const int copy = fcntl(*number, F_DUPFD_CLOEXEC, 3);
    if (copy < 0) return {invalidHandle, errno};
    return {copy, 0};
  }
  return openDescriptor(name, O_WRONLY | O_NOCTTY);
}

bool sameFile(const std::string& first, const std::string& second) {
  struct stat a {};
  struct stat b {};
  const bool firstExists = statusOf(first, a);
  const bool secondExists = statusOf(second, b);
  if (firstExists != secondExists) return false;
  if (firstExists) return a.st_dev == b.st_dev && a.st_ino == b.st_ino && !S_ISCHR(a.st_mode);
  return resolvedPath(first) == resolvedPath(second);
}

OpenResult createUnnamedFile(const std::string& folder) {
#ifdef O_TMPFILE
  const OpenResult made =
      openDescriptor(folder.empty() ? std::string{"."} : folder, O_TMPFILE | O_WRONLY);
  // Older kernels without O_TMPFILE take its bits for O_DIRECTORY and open
  // the folder itself; a file system without unnamed files says so.
  if (made.error == 0 && !isDiskFile(made.handle)) {
    close(descriptor(made.handle));
    return {invalidHandle, EOPNOTSUPP};
  }
  return made;
#else
  (void)folder;
  return {invalidHandle, EOPNOTSUPP};
#endif
}

SystemError nameUnnamedFile(Handle handle, const std::string& name) {
  const std::string self = "/proc/self/fd/" + std::to_string(descriptor(handle));
  if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
  const int error = errno;
  // Without /proc the file can still be named by its descriptor (which asks
  // for a privilege).
  if (error == ENOENT &&
      linkat(descriptor(handle), "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) {
    return 0;
  }
  return error;
}

std::string temporaryFolder() {
  const char* folder = std::getenv("TMPDIR");
  std::string name = folder != nullptr && *folder != '\0' ? folder : "/tmp";
  while (name.size() > 1 && name.back() == '/') name.pop_back();
  return name;
}

OpenResult openAgainForReading(Handle handle) {
  return openDescriptor("/proc/self/fd/" + std::to_string(descriptor(handle)), O_RDONLY);
}

SystemError copyPermissions(const std::string& model, Handle handle) {
  struct stat status {};
  if (stat(model.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return 0;
  if (fchmod(descriptor(handle), status.st_mode & 07777) != 0) return errno;
  return 0;
}

std::vector<std::string> folderEntries(const std::string& folder) {
  std::vector<std::string> names;
  DIR* entries = opendir(folder.empty() ? "." : folder.c_str());
  if (entries == nullptr) return names;
  while (const dirent* entry = readdir(entries)) {
    const std::string_view name{entry->d_name};
    if (name != "." && name != "..") names.emplace_back(name);
  }
  closedir(entries);
  return names;
}

bool processAlive(std::uint32_t id) {
  if (id == 0 || id > static_cast<std::uint32_t>(std::numeric_limits<pid_t>::max())) return true;
  return kill(static_cast<pid_t>(id), 0) == 0 || errno != ESRCH;
}

namespace {

// The watched names live in fixed storage, so that the signal handler reads
// them without allocating or locking.
constexpr std::size_t watchSlots = 4;
constexpr std::size_t watchNameSize = 4096;
char watchedNames[watchSlots][watchNameSize];
volatile std::sig_atomic_t slotInUse[watchSlots];
constexpr int stopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

sigset_t stopSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : stopSignals) sigaddset(&set, signal);
  return set;
}

void removeWatchedAndStop(int signal) {
  for (std::size_t i = 0; i < watchSlots; ++i) {
    if (slotInUse[i] != 0) unlink(watchedNames[i]);
  }
  // The handler was reset on entry; the signal, blocked until the handler
  // returns, then ends the process as it would have without one.
  raise(signal);
}

void watchStopSignals() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  for (const int signal : stopSignals) {
    struct sigaction previous {};
    sigaction(signal, nullptr, &previous);
    if (previous.sa_handler == SIG_IGN) continue;  // e.g. started under nohup
    struct sigaction action {};
    action.sa_handler = removeWatchedAndStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = static_cast<int>(SA_RESETHAND);
    sigaction(signal, &action, nullptr);
  }
}

// Keeps the stop signals away while a slot changes.
class StopSignalsHeld {
 public:
  StopSignalsHeld() {
    const sigset_t set = stopSignalSet();
    pthread_sigmask(SIG_BLOCK, &set, &previous_);
  }
  StopSignalsHeld(const StopSignalsHeld&) = delete;
  StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;
  ~StopSignalsHeld() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

 private:
  sigset_t previous_{};
};

}  // namespace

bool removeIfStopped(const std::string& name) {
  if (name.size() >= watchNameSize) return false;
  const StopSignalsHeld held;
  watchStopSignals();
  for (std::size_t i = 0; i < watchSlots; ++i) {
    if (slotInUse[i] != 0) continue;
    std::memcpy(watchedNames[i], name.c_str(), name.size() + 1);
    slotInUse[i] = 1;
    return true;
  }
  return false;
}

void stopWatching(const std::string& name) {
  const StopSignalsHeld held;
  for (std::size_t i = 0; i < watchSlots; ++i) {
    if (slotInUse[i] != 0 && name == watchedNames[i]) slotInUse[i] = 0;
  }
}

char pathSeparator() { return '/'; }

bool isPathSeparator(char byte) { return byte == '/'; }

std::uint32_t processId() { return static_cast<std::uint32_t>(getpid()); }

std::vector<std::string> commandLineArguments(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  return arguments;
}

std::string_view consoleLineEnd() { return "\n"; }

TransferResult readSome(Handle handle, std::span<char> buffer) {
  for (;;) {
    const ssize_t got = read(descriptor(handle), buffer.data(), buffer.size());
    if (got >= 0) return {static_cast<std::size_t>(got), 0};
    if (errno != EINTR) return {0, errno};
  }
}

TransferResult writeAll(Handle handle, std::span<const char> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = write(descriptor(handle), bytes.data() + done, bytes.size() - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      return {done, errno};
    }
    done += static_cast<std::size_t>(put);
  }
  return {done, 0};
}

TransferResult writeText(Handle handle, std::span<const char> bytes) {
  return writeAll(handle, bytes);
}

bool consoleOwnedAlone() { return false; }

std::optional<std::uint64_t> diskFileSize(Handle handle) {
  struct stat status {};
  if (fstat(descriptor(handle), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  return static_cast<std::uint64_t>(status.st_size);
}

bool isDiskFile(Handle handle) { return diskFileSize(handle).has_value(); }

SystemError truncateIfLonger(Handle handle, std::uint64_t length) {
  struct stat status {};
  if (fstat(descriptor(handle), &status) != 0) return errno;
  if (static_cast<std::uint64_t>(status.st_size) <= length) return 0;
  if (ftruncate(descriptor(handle), static_cast<off_t>(length)) != 0) return errno;
  return 0;
}

SystemError closeFile(Handle handle) {
  // POSIX leaves the descriptor closed even when close reports EINTR.
  if (close(descriptor(handle)) != 0 && errno != EINTR) return errno;
  return 0;
}

std::optional<std::string> environmentVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string{value};
}

std::string systemErrorMessage(SystemError error) { return std::strerror(error); }

std::string legacySystemMessage(SystemError error) {
  if (const auto known = knownSystemMessage(programErrorCode(error))) return std::string{*known};
  return std::strerror(error);
}

void writeStandardError(std::string_view bytes) {
  (void)writeAll(STDERR_FILENO, {bytes.data(), bytes.size()});
}

void exitProcess(int status) { _exit(status); }

std::int64_t secondsSinceEpoch() { return static_cast<std::int64_t>(time(nullptr)); }

struct WorkerThread::State {
  std::function<void()> work;
  pthread_t thread{};
  bool running = false;
};

namespace {

void* runWork(void* state) {
  // A new thread takes its rounding from its creator; it is set all the same.
  std::fesetround(FE_TONEAREST);
  static_cast<WorkerThread::State*>(state)->work();
  return nullptr;
}

}  // namespace

WorkerThread::WorkerThread() : state_{std::make_unique<State>()} {}

WorkerThread::~WorkerThread() { join(); }

bool WorkerThread::start(std::function<void()> work, std::size_t stackBytes) {
  if (state_->running) return false;
  state_->work = std::move(work);
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0) return false;
  if (stackBytes != 0) {
    const std::size_t size = std::max(stackBytes, static_cast<std::size_t>(PTHREAD_STACK_MIN));
    if (pthread_attr_setstacksize(&attributes, size) != 0) {
      (void)pthread_attr_destroy(&attributes);
      return false;
    }
  }
  // The new thread starts with the stop signals blocked, so that they always
  // reach the main thread, which alone changes the names they remove.
  const StopSignalsHeld held;
  state_->running = pthread_create(&state_->thread, &attributes, runWork, state_.get()) == 0;
  (void)pthread_attr_destroy(&attributes);
  return state_->running;
}

void WorkerThread::join() {
  if (!state_->running) return;
  pthread_join(state_->thread, nullptr);
  state_->running = false;
}

struct Semaphore::State {
  sem_t semaphore{};
  bool usable = false;
};

Semaphore::Semaphore(unsigned initial) : state_{std::make_unique<State>()} {
  state_->usable = sem_init(&state_->semaphore, 0, initial) == 0;
}

Semaphore::~Semaphore() {
  if (state_->usable) sem_destroy(&state_->semaphore);
}

bool Semaphore::usable() const { return state_->usable; }

void Semaphore::release() { sem_post(&state_->semaphore); }

void Semaphore::acquire() {
  while (sem_wait(&state_->semaphore) != 0 && errno == EINTR) {
  }
}

}  // namespace varistellar::platform
