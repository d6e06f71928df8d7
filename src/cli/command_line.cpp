// Parsing the command line. Small enough to write out: a library parser
// would bring stream initialisation into every interactive run's start.
#include "cli/command_line.h"

#include <string_view>
#include <utility>

#include "cli/command_options.h"
#include "cli/dropped_arguments.h"
#include "cli/option_table.h"
#include "version.h"

namespace varistellar::cli {
namespace {

Command usageError(std::string text) {
  return {.kind = CommandKind::usageError, .usageError = std::move(text)};
}

// An argument inside a usage error: no byte of it acts on the terminal, and
// a long one is cut.
std::string shown(std::string_view argument) { return shownArgument(argument); }

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
  // The page's question to the detector, left out of --help: the observer
  // never needs it.
  if (first == "--identify") {
    if (rest.empty()) return usageError("'--identify' needs at least one FILE");
    return {.kind = CommandKind::identify,
            .files = std::vector<std::string>(rest.begin(), rest.end())};
  }
  // "--" ends the options here too: what follows is a night's folder or files.
  const auto dropped = first == "--" ? rest : arguments;
  if (first == "--" && dropped.empty()) return usageError("'--' needs a FOLDER or FILEs after it");
  if (first != "--" && !first.empty() && first.front() == '-' && !isExistingPath(first)) {
    return usageError("unknown option " + shown(first));
  }
  if (auto night = droppedCommand(dropped)) return *std::move(night);
  if (first != "--" && !isExistingPath(first)) return usageError("unknown command " + shown(first));
  return droppedMisfit(dropped);
}

std::string helpText() {
  std::string text = "varistellar " + std::string{programVersion()} + R"(
Converts a photometry program's light-curve table (MAGNIVEX's lightcurve.txt,
an AstroImageJ measurement table or Siril's light_curve.dat) into an AAVSO
Extended File Format report.

Usage:
  varistellar                          interactive conversion of lightcurve.txt
                                       in the current folder
  varistellar convert [OPTIONS] [FOLDER]
                                       convert FOLDER's table (lightcurve.txt,
                                       light_curve.dat or an AstroImageJ table)
                                       with FOLDER/VARISTELLAR-input.txt into
                                       FOLDER/lightcurve-aavso.txt, without pauses
  varistellar convert [OPTIONS] --report FILE FOLDER FOLDER...
                                       a night of several filters, one FOLDER
                                       each, into one report in time order
  varistellar check FILE...            check AAVSO Extended File Format reports
  varistellar transform --transform FILE [OPTIONS] REPORT
                                       transform a finished report, whoever
                                       wrote it, to the standard system
  varistellar FOLDER | FILE...         convert the night in FOLDER, or in the
                                       folder of the FILEs (a table of any
                                       name with its parameter file), or check
                                       FILEs that are all reports: what
                                       happens when they are dropped on the
                                       program
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
