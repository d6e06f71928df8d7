// Parsing the command line. Small enough to write out: a library parser
// would bring stream initialisation into every interactive run's start.
#include "cli/command_line.h"

#include <algorithm>
#include <string_view>

#include "aeff/plain_decimal.h"
#include "diagnostics/quoted.h"
#include "platform/platform.h"
#include "transform/colour_option.h"
#include "version.h"

namespace varistellar::cli {
namespace {

Command usageError(std::string text) {
  return {.kind = CommandKind::usageError, .usageError = std::move(text)};
}

// An argument inside a usage error: no byte of it acts on the terminal, and
// a long one is cut.
std::string shown(std::string_view argument) {
  return "'" + diagnostics::shownName(argument, diagnostics::argumentShownWhole) + "'";
}

// A name that begins with '-' is still a file or folder when one of that
// name exists: a folder called "-dash" is converted, not refused.
bool isExistingPath(std::string_view argument) {
  return platform::pathKind(std::string{argument}) != platform::PathKind::missing;
}

// An option given as "--name=VALUE" or "--name VALUE": its name, and its
// value, which is the next argument in the second form.
struct OptionWithValue {
  std::string_view name;
  std::optional<std::string> value;
  bool valueIsNext = false;
};

OptionWithValue optionAt(std::span<const std::string> arguments, std::size_t i) {
  const std::string_view argument = arguments[i];
  const std::size_t equals = argument.find('=');
  OptionWithValue option{argument.substr(0, equals), std::nullopt};
  if (equals != std::string_view::npos) {
    option.value = std::string{argument.substr(equals + 1)};
  } else if (i + 1 < arguments.size()) {
    option.value = arguments[i + 1];
    option.valueIsNext = true;
  }
  return option;
}

// An option that takes a value, as "--name VALUE" or "--name=VALUE".
struct ValueOption {
  std::string_view name;
  std::optional<std::string> convert::ConvertOptions::*target;
};

constexpr ValueOption convertFileOptions[] = {
    {"--table", &convert::ConvertOptions::table},
    {"--parameters", &convert::ConvertOptions::parameters},
    {"--report", &convert::ConvertOptions::report},
    {"--plot", &convert::ConvertOptions::plot},
    {"--transform", &convert::ConvertOptions::transform},
};

// --colour and --pair-within, which `convert` and `transform` share: the
// usage error when the value is missing or wrong.
std::optional<std::string> parseTransformOption(std::string_view name,
                                                const std::optional<std::string>& value,
                                                std::optional<transform::ColourOption>& colour,
                                                double& pairWithinMinutes,
                                                std::string& pairWithinText) {
  if (name == "--colour") {
    if (!value) return "option '--colour' needs INDEX=T,C[,K]";
    colour = transform::parseColourOption(*value);
    if (!colour) {
      return "option '--colour' takes INDEX=T,C[,K]: INDEX B-V, V-R or V-I, then the standard "
             "colours of the target, the comparison and (if you like) the check star as plain "
             "decimal numbers, not " +
             shown(*value);
    }
    return std::nullopt;
  }
  if (!value) return "option '--pair-within' needs MINUTES";
  const auto number = aeff::readPlainDecimal(*value);
  if (!number || *number < 0.0) {
    return "option '--pair-within' takes a number of minutes, 0 or more, not " + shown(*value);
  }
  pairWithinMinutes = *number;
  pairWithinText = *value;
  return std::nullopt;
}

Command parseConvert(std::span<const std::string> arguments) {
  Command command{.kind = CommandKind::convert};
  convert::ConvertOptions& options = command.convert;
  bool optionsEnded = false;
  bool pairWithinGiven = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    const bool isOption = !optionsEnded && argument.size() > 1 && argument.front() == '-';
    if (!isOption) {
      options.folders.emplace_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    if (argument == "--help" || argument == "-h") return {.kind = CommandKind::help};
    if (argument == "--quiet") {
      options.quiet = true;
      continue;
    }
    if (argument == "--check-star") {
      options.checkStar = true;
      continue;
    }

    // The options with a value.
    const OptionWithValue given = optionAt(arguments, i);
    const std::string_view name = given.name;
    const auto takeValue = [&]() -> std::optional<std::string> {
      if (!given.value) return std::nullopt;
      if (given.valueIsNext) ++i;
      return given.value;
    };

    bool known = false;
    for (const ValueOption& option : convertFileOptions) {
      if (name != option.name) continue;
      known = true;
      const auto file = takeValue();
      if (!file || file->empty()) {
        return usageError("option " + shown(name) + " needs a FILE");
      }
      options.*option.target = *file;
    }
    if (known) continue;
    if (name == "--date") {
      const auto kind = takeValue();
      if (!kind) return usageError("option '--date' needs HJD or JD");
      if (*kind == "HJD" || *kind == "hjd") {
        options.date = run::DateKind::hjd;
      } else if (*kind == "JD" || *kind == "jd") {
        options.date = run::DateKind::jd;
      } else {
        return usageError("option '--date' takes HJD or JD, not " + shown(*kind));
      }
      continue;
    }
    if (name == "--colour" || name == "--pair-within") {
      if (auto failure = parseTransformOption(name, takeValue(), options.colour,
                                              options.pairWithinMinutes, options.pairWithinText)) {
        return usageError(*std::move(failure));
      }
      pairWithinGiven = pairWithinGiven || name == "--pair-within";
      continue;
    }
    if (isExistingPath(argument)) {
      options.folders.emplace_back(argument);
      continue;
    }
    return usageError("unknown option " + shown(argument) + " for convert");
  }
  if (!options.transform) {
    if (options.colour) return usageError("option '--colour' needs --transform FILE");
    if (pairWithinGiven) return usageError("option '--pair-within' needs --transform FILE");
  }
  // Several FOLDERs, one filter's night each, make one report: it needs a
  // name of its own, and each night its own standard files.
  if (options.folders.size() > 1) {
    if (!options.report) {
      return usageError("several FOLDERs make one report: name it with --report FILE");
    }
    for (const char* option : {"--table", "--parameters"}) {
      const bool given = option == std::string_view{"--table"} ? options.table.has_value()
                                                               : options.parameters.has_value();
      if (given) {
        return usageError("option '" + std::string{option} +
                          "' names one night's file; with several FOLDERs each holds its own");
      }
    }
  }
  return command;
}

Command parseCheck(std::span<const std::string> arguments) {
  Command command{.kind = CommandKind::check};
  bool optionsEnded = false;
  for (const std::string& argument : arguments) {
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && (argument == "--help" || argument == "-h")) {
      return {.kind = CommandKind::help};
    } else if (!optionsEnded && argument.size() > 1 && argument.front() == '-' &&
               !isExistingPath(argument)) {
      return usageError("unknown option " + shown(argument) + " for check");
    } else {
      command.files.push_back(argument);
    }
  }
  if (command.files.empty()) return usageError("check needs at least one FILE");
  return command;
}

Command parseTransform(std::span<const std::string> arguments) {
  Command command{.kind = CommandKind::transform};
  report_transform::TransformOptions& options = command.transform;
  bool optionsEnded = false;
  std::vector<std::string> reports;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    const bool isOption = !optionsEnded && argument.size() > 1 && argument.front() == '-';
    if (!isOption) {
      reports.emplace_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    if (argument == "--help" || argument == "-h") return {.kind = CommandKind::help};
    const OptionWithValue given = optionAt(arguments, i);
    const std::string_view name = given.name;
    const std::optional<std::string>& value = given.value;
    if (given.valueIsNext) ++i;
    if (name == "--transform" || name == "--output") {
      if (!value || value->empty()) {
        return usageError("option " + shown(name) + " needs a FILE");
      }
      if (name == "--transform") {
        options.coefficientFile = *value;
      } else {
        options.output = *value;
      }
      continue;
    }
    if (name == "--colour" || name == "--pair-within") {
      if (auto failure = parseTransformOption(name, value, options.colour,
                                              options.pairWithinMinutes, options.pairWithinText)) {
        return usageError(*std::move(failure));
      }
      continue;
    }
    if (isExistingPath(argument)) {
      reports.emplace_back(argument);
      continue;
    }
    return usageError("unknown option " + shown(argument) + " for transform");
  }
  if (options.coefficientFile.empty()) return usageError("transform needs --transform FILE");
  if (reports.empty()) return usageError("transform needs a REPORT");
  if (reports.size() != 1) return usageError("transform takes one REPORT");
  options.report = reports.front();
  return command;
}

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
  --table FILE        the light-curve table (default FOLDER/lightcurve.txt)
  --parameters FILE   the parameter file (default FOLDER/VARISTELLAR-input.txt)
  --report FILE       the report to write (default FOLDER/lightcurve-aavso.txt)
  --date HJD|JD       the report's date: HJD as in the table (default), or
                      JD = HJD - HELCOR
  --check-star        write the check star's CMAG, KMAG and NOTES subfields,
                      and print its statistics
  --plot FILE         also draw the light curve as an SVG picture in FILE
  --quiet             print only warnings and errors
  --transform FILE    transform the magnitudes to the standard system with
                      the coefficients in FILE (the INI file of the AAVSO's
                      Transform Generator); with several FOLDERs the filters
                      are paired in time
  --colour INDEX=T,C[,K]
                      the standard colour index (B-V, V-R or V-I) of the
                      target T, the comparison C and the check star K, for
                      a filter that has no partner filter in the night
  --pair-within MINUTES
                      how far apart in time two filters' observations may
                      be to be paired (default 10)

Options of transform:
  --transform FILE    the coefficient file (required)
  --colour INDEX=T,C[,K], --pair-within MINUTES
                      as for convert
  --output OUT        the report to write (default: REPORT's name with
                      -transformed before its extension, beside it)

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
