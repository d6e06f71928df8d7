// The command line's console lines.
#include "console/console.h"

#include <string>

#include "platform/platform.h"

namespace varistellar::console {
namespace {

void writeLine(platform::StandardStream stream, std::string_view text) {
  std::string line{text};
  line.append(platform::consoleLineEnd());
  // A console that cannot be written to leaves nothing to tell the user on.
  (void)platform::writeText(platform::standardHandle(stream), {line.data(), line.size()});
}

}  // namespace

void printLine(std::string_view text) { writeLine(platform::StandardStream::output, text); }

void printErrorLine(std::string_view text) { writeLine(platform::StandardStream::error, text); }

void printText(std::string_view text) {
  std::string converted;
  for (const char byte : text) {
    if (byte == '\n') {
      converted.append(platform::consoleLineEnd());
    } else {
      converted.push_back(byte);
    }
  }
  (void)platform::writeText(platform::standardHandle(platform::StandardStream::output),
                            {converted.data(), converted.size()});
}

}  // namespace varistellar::console
