// Writing a fuzz input into a real file, for the targets that read files.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace varistellar::fuzz {

// A new folder /tmp/varistellar-WHAT-fuzz-XXXXXX of the run's own; a failure
// ends the run.
inline std::string scratchFolder(std::string_view what) {
  std::string name = "/tmp/varistellar-" + std::string{what} + "-fuzz-XXXXXX";
  if (mkdtemp(name.data()) == nullptr) std::abort();
  return name;
}

// Writes `bytes` as the whole file `path`; a failure ends the run, since no
// property can be judged without it.
inline void writeScratchFile(const std::string& path, std::string_view bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) std::abort();
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
    if (put <= 0) std::abort();
    done += static_cast<std::size_t>(put);
  }
  close(fd);
}

}  // namespace varistellar::fuzz
