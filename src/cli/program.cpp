// The program's entry: one small dispatch over the parsed command line.
#include "cli/program.h"

#include <new>

#include "check/check_command.h"
#include "cli/command_line.h"
#include "cli/identify_command.h"
#include "console/console.h"
#include "convert/convert_command.h"
#include "platform/platform.h"
#include "report_transform/transform_command.h"
#include "run/run.h"
#include "version.h"

namespace varistellar::cli {
namespace {

// A command that runs out of memory ends with a message and `status`, its
// temporary files removed as the stack unwinds, instead of an abort.
template <typename Command>
int outOfMemoryEnds(Command command, int status, const char* message) {
  try {
    return command();
  } catch (const std::bad_alloc&) {
    console::printErrorLine(message);
    return status;
  }
}

// A window of its own closes as the program ends: keep the summary readable
// until the observer has read it.
void waitWhenWindowIsOwn() {
  if (!platform::consoleOwnedAlone()) return;
  console::printLine("");
  console::printLine("Press Enter to close");
  char byte = 0;
  const platform::Handle input = platform::standardHandle(platform::StandardStream::input);
  for (;;) {
    const platform::TransferResult read = platform::readSome(input, {&byte, 1});
    if (read.bytes == 0 || byte == '\n') return;
  }
}

// `convert` of a night dropped on the program, which waits at its end.
int runDroppedNight(const Command& command) {
  const int status = outOfMemoryEnds([&] { return convert::runConvertCommand(command.convert); }, 1,
                                     "varistellar: out of memory; nothing was written");
  waitWhenWindowIsOwn();
  return status;
}

// `check` of reports dropped on the program, which waits at its end.
int runDroppedReports(const Command& command) {
  const int status = outOfMemoryEnds([&] { return check::runCheckCommand(command.files); }, 2,
                                     "varistellar: out of memory; the check could not be finished");
  waitWhenWindowIsOwn();
  return status;
}

}  // namespace

int runProgram(const std::vector<std::string>& arguments) {
  platform::prepareProcess();
  const Command command = parseCommandLine(arguments);
  switch (command.kind) {
    case CommandKind::interactive: run::runConversion();
    case CommandKind::help: console::printText(helpText()); return 0;
    case CommandKind::version:
      console::printLine("varistellar " + std::string{programVersion()});
      return 0;
    case CommandKind::convert:
      if (command.dropped) return runDroppedNight(command);
      return outOfMemoryEnds([&] { return convert::runConvertCommand(command.convert); }, 1,
                             "varistellar: out of memory; nothing was written");
    case CommandKind::check:
      if (command.dropped) return runDroppedReports(command);
      return outOfMemoryEnds([&] { return check::runCheckCommand(command.files); }, 2,
                             "varistellar: out of memory; the check could not be finished");
    case CommandKind::identify: return runIdentifyCommand(command.files);
    case CommandKind::transform:
      return outOfMemoryEnds(
          [&] { return report_transform::runTransformCommand(command.transform); }, 1,
          "varistellar: out of memory; nothing was written");
    case CommandKind::usageError: break;
  }
  console::printErrorLine("varistellar: " + command.usageError);
  console::printErrorLine("Try 'varistellar --help' for the commands and options.");
  if (command.dropped) waitWhenWindowIsOwn();
  return 2;
}

}  // namespace varistellar::cli
