// The program's entry: one small dispatch over the parsed command line.
#include "cli/program.h"

#include "check/check_command.h"
#include "cli/command_line.h"
#include "cli/console.h"
#include "convert/convert_command.h"
#include "platform/platform.h"
#include "run/run.h"
#include "version.h"

namespace varistellar::cli {

int runProgram(const std::vector<std::string>& arguments) {
  platform::prepareProcess();
  const Command command = parseCommandLine(arguments);
  switch (command.kind) {
    case CommandKind::interactive: run::runConversion();
    case CommandKind::help: printText(helpText()); return 0;
    case CommandKind::version: printLine("varistellar " + std::string{programVersion()}); return 0;
    case CommandKind::convert: return convert::runConvertCommand(command.convert);
    case CommandKind::check: return check::runCheckCommand(command.files);
    case CommandKind::usageError: break;
  }
  printErrorLine("varistellar: " + command.usageError);
  printErrorLine("Try 'varistellar --help' for the commands and options.");
  return 2;
}

}  // namespace varistellar::cli
