// The least a whole interactive run can cost on this machine: the same
// system work with none of the conversion. It starts as the program does
// (linked statically), reads the answers, reads the table and the parameter
// file in 8 KiB pieces, writes as many report bytes in 8 KiB pieces over an
// old report in place, and writes as many console lines and bytes as the run
// does, one line per system write, as the run shows each line the moment it
// is finished. It touches no more memory than one piece, so that only the
// system work is counted. bench/whole-run.sh times it beside the run.
//   run_floor CONSOLE_LINES CONSOLE_BYTES REPORT_BYTES < answers
#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace {

namespace platform = varistellar::platform;

constexpr std::size_t pieceSize = 8192;
std::array<char, pieceSize> piece;

void readThrough(const std::string& name) {
  const platform::OpenResult file = platform::openForReading(name);
  if (file.error != 0) return;
  for (;;) {
    const platform::TransferResult read = platform::readSome(file.handle, piece);
    if (read.error != 0 || read.bytes == 0) break;
  }
  (void)platform::closeFile(file.handle);
}

std::size_t count(const char* text) {
  std::size_t value = 0;
  (void)std::from_chars(text, text + std::strlen(text), value);
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  const std::size_t consoleLines = count(argv[1]);
  const std::size_t consoleBytes = count(argv[2]);
  const std::size_t reportBytes = count(argv[3]);
  if (consoleLines == 0) return 2;
  piece.fill('x');

  (void)platform::readSome(platform::standardHandle(platform::StandardStream::input),
                           {piece.data(), 256});
  readThrough("lightcurve.txt");
  readThrough("VARISTELLAR-input.txt");

  const std::string report = "floor-report.txt";
  const platform::OpenResult out = platform::probeExistingFile(report)
                                       ? platform::openExistingFile(report)
                                       : platform::createEmptyFile(report);
  if (out.error != 0) return 1;
  for (std::size_t left = reportBytes; left != 0;) {
    const std::size_t size = std::min(left, pieceSize);
    (void)platform::writeAll(out.handle, {piece.data(), size});
    left -= size;
  }
  (void)platform::truncateIfLonger(out.handle, reportBytes);
  (void)platform::closeFile(out.handle);

  // The lines' lengths spread evenly over the run's console bytes.
  const platform::Handle console = platform::standardHandle(platform::StandardStream::output);
  for (std::size_t line = 0; line < consoleLines; ++line) {
    const std::size_t size =
        consoleBytes * (line + 1) / consoleLines - consoleBytes * line / consoleLines;
    (void)platform::writeAll(console, {piece.data(), std::min(size, pieceSize)});
  }
  return 0;
}
