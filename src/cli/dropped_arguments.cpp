// The desktop drop: folders convert as they are; files are sorted by the
// detector, so that a table of any name finds its night and reports alone
// are checked.
#include "cli/dropped_arguments.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/option_table.h"
#include "file_kind/file_kind.h"
#include "platform/platform.h"

namespace varistellar::cli {
namespace {

using file_kind::Kind;

Command droppedUsageError(std::string text) {
  return {.kind = CommandKind::usageError, .usageError = std::move(text), .dropped = true};
}

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

std::string_view nameOf(std::string_view path) { return path.substr(folderHolding(path).size()); }

bool isFolder(const std::string& path) {
  return platform::pathKind(path) == platform::PathKind::directory;
}

bool isFile(const std::string& path) {
  return platform::pathKind(path) == platform::PathKind::file;
}

// Several nights' folders dropped together, one filter each: one report of
// them all in the folder that holds them, as `convert --report` would make.
Command droppedNights(std::span<const std::string> folders) {
  const std::string holder = folderHolding(folders.front());
  for (const std::string& folder : folders) {
    if (folderHolding(folder) == holder) continue;
    return droppedUsageError(
        "the nights' folders dropped together make one report beside them, but " +
        shown(folders.front()) + " and " + shown(folder) +
        " are in different folders; convert them with 'varistellar convert --report FILE "
        "FOLDER FOLDER...'");
  }
  Command command{.kind = CommandKind::convert, .dropped = true};
  command.convert.folders.assign(folders.begin(), folders.end());
  command.convert.report = holder + "lightcurve-aavso.txt";
  return command;
}

// The file of one role in the night (its table, its parameter file, its
// coefficient file); a second one of the same role is a usage error.
std::optional<std::string> takeRole(std::optional<std::string>& role, const std::string& file,
                                    std::string_view what) {
  if (!role) {
    role = file;
    return std::nullopt;
  }
  return shown(*role) + " and " + shown(file) + " are both " + std::string{what} +
         "; drop one night's files, or the nights' folders";
}

// A night's files of one folder: the table and the parameter file by what
// they are, named to `convert` only when their names are not the usual ones.
// A report or a picture among them (the night's old outputs) is passed over.
Command droppedNightFiles(std::span<const std::string> files,
                          std::span<const file_kind::FileKind> kinds) {
  Command command{.kind = CommandKind::convert, .dropped = true};
  command.convert.folders = {folderHolding(files.front())};
  std::optional<std::string> table;
  std::optional<std::string> parameters;
  for (std::size_t i = 0; i < files.size(); ++i) {
    std::optional<std::string> twice;
    switch (kinds[i].kind) {
      case Kind::table: twice = takeRole(table, files[i], "light-curve tables"); break;
      case Kind::parameters: twice = takeRole(parameters, files[i], "parameter files"); break;
      case Kind::coefficients:
        twice = takeRole(command.convert.transform, files[i], "coefficient files");
        break;
      case Kind::report:
      case Kind::picture: break;
      case Kind::unknown:
        return droppedUsageError(shown(files[i]) +
                                 " is not a light-curve table, a parameter file, a coefficient "
                                 "file or an AAVSO report");
    }
    if (twice) return droppedUsageError(*twice);
  }
  if (table && nameOf(*table) != "lightcurve.txt") command.convert.table = table;
  if (parameters && nameOf(*parameters) != "VARISTELLAR-input.txt") {
    command.convert.parameters = parameters;
  }
  return command;
}

// Files dropped together: reports alone are checked wherever they are; a
// night's files are in one folder.
std::optional<Command> droppedFiles(std::span<const std::string> files) {
  if (!std::all_of(files.begin(), files.end(), isFile)) return std::nullopt;
  std::vector<file_kind::FileKind> kinds(files.size());
  std::transform(files.begin(), files.end(), kinds.begin(), file_kind::fileKindOfFile);
  if (std::all_of(kinds.begin(), kinds.end(),
                  [](const file_kind::FileKind& kind) { return kind.kind == Kind::report; })) {
    return Command{.kind = CommandKind::check,
                   .files = std::vector<std::string>(files.begin(), files.end()),
                   .dropped = true};
  }
  const std::string folder = folderHolding(files.front());
  for (const std::string& file : files) {
    if (folderHolding(file) == folder) continue;
    return droppedUsageError("the files of one night are in one folder, but " +
                             shown(files.front()) + " and " + shown(file) + " are not");
  }
  return droppedNightFiles(files, kinds);
}

}  // namespace

std::optional<Command> droppedCommand(std::span<const std::string> arguments) {
  if (arguments.size() == 1 && isFolder(arguments.front())) {
    Command command{.kind = CommandKind::convert, .dropped = true};
    command.convert.folders = {arguments.front()};
    return command;
  }
  if (std::all_of(arguments.begin(), arguments.end(), isFolder)) return droppedNights(arguments);
  return droppedFiles(arguments);
}

Command droppedMisfit(std::span<const std::string> dropped) {
  const auto missing = std::find_if_not(dropped.begin(), dropped.end(), isExistingPath);
  return droppedUsageError(
      missing != dropped.end()
          ? "there is no folder or file " + shown(*missing)
          : std::string{"give one night's folder, several nights' folders or the files of one "
                        "night, not folders and files together"});
}

}  // namespace varistellar::cli
