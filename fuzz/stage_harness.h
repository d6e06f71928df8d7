// Runs a stage of the real program in process, on real files in a scratch
// directory, for the stage fuzz targets.
//
// Every way a run ends goes through the system's _exit. The fuzz targets are
// linked with -Wl,--wrap=_exit, so that end becomes an exception here and the
// fuzzer goes on with its next input; the channels are closed by then, as in
// a real run.
#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

struct RunEnded {
  int status;
};

extern "C" [[noreturn]] void __wrap__exit(int status) { throw RunEnded{status}; }

namespace stage_harness {

// A scratch directory to work in, the console's input from a file of empty
// lines (every pause is answered) and its output thrown away.
inline void prepare() {
  static char directory[] = "/tmp/varistellar-fuzz-XXXXXX";
  if (mkdtemp(directory) == nullptr || chdir(directory) != 0) std::abort();
  const std::string answers(4096, '\n');
  const int input = open("answers.txt", O_RDWR | O_CREAT | O_TRUNC, 0600);
  if (input < 0 || write(input, answers.data(), answers.size()) != 4096) std::abort();
  dup2(input, 0);
  close(input);
  const int null = open("/dev/null", O_WRONLY);
  dup2(null, 1);
  close(null);
}

// Writes one input file and rewinds the console's answers.
inline void writeInput(const char* name, const std::uint8_t* data, std::size_t size) {
  const int fd = open(name, O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) std::abort();
  std::size_t done = 0;
  while (done < size) {
    const ssize_t put = write(fd, data + done, size - done);
    if (put <= 0) std::abort();
    done += static_cast<std::size_t>(put);
  }
  close(fd);
  lseek(0, 0, SEEK_SET);
}

inline void check(bool property, const char* what) {
  if (!property) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
  }
}

}  // namespace stage_harness
