// Parsing the command line. Small enough to write out: a library parser
// would bring stream initialisation into every interactive run's start.
#include "cli/command_line.h"

#include <algorithm>
#include <string_view>

#include "cli/command_options.h"
#include "cli/option_table.h"
#include "platform/platform.h"
#include "version.h"

namespace varistellar::cli {
namespace {

Command usageError(std::string text) {
  return {.kind = CommandKind::usageError, .usageError = std::move(text)};
}

// An argument inside a usage error: no byte of it acts on the terminal, and
// a long one is cut.
std::string shown(std::string_view argument) { return shownArgument(argument); }

// The folder that holds `path`, with its separator, so that "C:night.txt"
// stays on drive C:'s current folder and "/night.txt" in the root; none for
// the current folder. A folder's own trailing separators are passed over.
std::string folderHolding(std::string_view path) {
  std::size_t end = path.size();
  while (end > 1 && platform::isPathSeparator(path[end - 1])) --end;
  while (end > 0 && !platform::isPathSeparator(path[end - 1])) --end;
  return std::string{path.substr(0, end)};
}

bool isFolder(const std::string& path) {
  return platform::pathKind(path) == platform::PathKind::directory;
}

// Several nights' folders dropped together, one filter each: one report of
// them all in the folder that holds them, as `convert --report` would make.
Command droppedNights(std::span<const std::string> folders) {
  const std::string holder = folderHolding(folders.front());
  for (const std::string& folder : folders) {
    if (folderHolding(folder) == holder) continue;
    Command apart = usageError(
        "the nights' folders dropped together make one report beside them, but " +
        shown(folders.front()) + " and " + shown(folder) +
        " are in different folders; convert them with 'varistellar convert --report FILE "
        "FOLDER FOLDER...'");
    apart.dropped = true;
    return apart;
  }
  Command command{.kind = CommandKind::convert, .dropped = true};
  command.convert.folders.assign(folders.begin(), folders.end());
  command.convert.report = holder + "lightcurve-aavso.txt";
  return command;
}

// `convert` of a folder or of several, or of the folder of the files named:
// what a double click does with a night's folders or files dropped on the
// program. Nothing when an argument is neither an existing folder nor an
// existing file.
std::optional<Command> droppedNight(std::span<const std::string> arguments) {
  Command command{.kind = CommandKind::convert, .dropped = true};
  if (arguments.size() == 1 && isFolder(arguments.front())) {
    command.convert.folders = {arguments.front()};
    return command;
  }
  if (std::all_of(arguments.begin(), arguments.end(), isFolder)) return droppedNights(arguments);
  std::optional<std::string> folder;
  for (const std::string& file : arguments) {
    if (platform::pathKind(file) != platform::PathKind::file) return std::nullopt;
    std::string its = folderHolding(file);
    if (folder && *folder != its) {
      Command mixed = usageError("the files of one night are in one folder, but " +
                                 shown(arguments.front()) + " and " + shown(file) + " are not");
      mixed.dropped = true;
      return mixed;
    }
    folder = std::move(its);
  }
  command.convert.folders = {*folder};
  return command;
}

// Why existing names given alone are no night to convert: one of them is
// missing, or folders and files were given together.
Command droppedMisfit(std::span<const std::string> dropped) {
  const auto missing = std::find_if_not(dropped.begin(), dropped.end(), isExistingPath);
  Command misfit = usageError(
      missing != dropped.end()
          ? "there is no folder or file " + shown(*missing)
          : std::string{"give one night's folder, several nights' folders or the files of one "
                        "night, not folders and files together"});
  misfit.dropped = true;
  return misfit;
}

}  // namespace

Command parseCommandLine(std::span<const std::string> arguments) {
  if (arguments.empty()) return {};
  const std::string& first = arguments.front();
  const auto rest = arguments.subspan(1);
  if (first == "--help" || first == "-h") return {.kind = CommandKind::help};
  if (first == "--version" || first == "-V") {
    if (!rest.empty()) return usageError(shown(first) + " takes no arguments");
    return {.kind = CommandKind::version};
  }
  if (first == "convert") return parseConvert(rest);
  if (first == "check") return parseCheck(rest);
  if (first == "transform") return parseTransform(rest);
  // "--" ends the options here too: what follows is a night's folder or files.
  const auto dropped = first == "--" ? rest : arguments;
  if (first == "--" && dropped.empty()) return usageError("'--' needs a FOLDER or FILEs after it");
  if (first != "--" && !first.empty() && first.front() == '-' && !isExistingPath(first)) {
    return usageError("unknown option " + shown(first));
  }
  if (auto night = droppedNight(dropped)) return *std::move(night);
  if (first != "--" && !isExistingPath(first)) return usageError("unknown command " + shown(first));
  return droppedMisfit(dropped);
}

std::string helpText() {
  std::string text = "varistellar " + std::string{programVersion()} + R"(
Converts a MAGNIVEX light-curve table into an AAVSO Extended File Format report.

Usage:
  varistellar                          interactive conversion in the current folder
  varistellar convert [OPTIONS] [FOLDER]
                                       convert FOLDER/lightcurve.txt with
                                       FOLDER/VARISTELLAR-input.txt into
                                       FOLDER/lightcurve-aavso.txt, without pauses
  varistellar convert [OPTIONS] --report FILE FOLDER FOLDER...
                                       a night of several filters, one FOLDER
                                       each, into one report in time order
  varistellar check FILE...            check AAVSO Extended File Format reports
  varistellar transform --transform FILE [OPTIONS] REPORT
                                       transform a finished report, whoever
                                       wrote it, to the standard system
  varistellar FOLDER | FILE...         convert the night in FOLDER, or in the
                                       folder of the FILEs: what happens when
                                       a night's folder or files are dropped
                                       on the program
  varistellar --help | -h              show this text
  varistellar --version | -V           show the version

Options of convert:
)" + convertOptionsHelp() +
                     R"(
Options of transform:
)" + transformOptionsHelp() +
                     R"(
transform reads REPORT as check does and refuses one with errors. Rows of
one STARID and one GROUP (not na) are transformed together; rows whose
GROUP is na are paired in time. Every other row is written as it was.

FOLDER defaults to the current folder; a relative FILE is taken from the
current folder. Messages name the file and line to fix: FILE:LINE:COLUMN.

convert never writes over its own table or parameter file, and writes
each file whole or not at all: a run that fails or is stopped leaves the
old report and picture as they were, and no temporary file.

Exit status:
  0  the report was written (convert, transform) or no file has an error
     (check)
  1  nothing was written because of errors (convert, transform), or a
     file has an error (check)
  2  a usage error, or (check) a file that cannot be read
  3  (convert) the report was written, but the picture could not be put
     in place; the message says why
)";
  return text;
}

}  // namespace varistellar::cli
