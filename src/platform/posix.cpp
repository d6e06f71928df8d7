// The POSIX implementation of the operating-system layer.
#include <fcntl.h>
#include <pthread.h>
#include <semaphore.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cfenv>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>

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

SystemError replaceFile(const std::string& from, const std::string& to) {
  if (rename(from.c_str(), to.c_str()) != 0) return errno;
  return 0;
}

SystemError removeFile(const std::string& name) {
  if (unlink(name.c_str()) != 0) return errno;
  return 0;
}

PathKind pathKind(const std::string& name) {
  struct stat status {};
  if (stat(name.c_str(), &status) != 0) return PathKind::missing;
  if (S_ISREG(status.st_mode)) return PathKind::file;
  if (S_ISDIR(status.st_mode)) return PathKind::directory;
  return PathKind::other;
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

bool isDiskFile(Handle handle) {
  struct stat status {};
  if (fstat(descriptor(handle), &status) != 0) return false;
  return S_ISREG(status.st_mode);
}

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

std::string systemErrorMessage(SystemError error) {
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

bool WorkerThread::start(std::function<void()> work) {
  if (state_->running) return false;
  state_->work = std::move(work);
  state_->running = pthread_create(&state_->thread, nullptr, runWork, state_.get()) == 0;
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
