// The files of a conversion.
#include "convert/convert_options.h"

#include <algorithm>

#include "diagnostics/quoted.h"
#include "file_kind/file_kind.h"
#include "night/table_formats.h"
#include "platform/platform.h"

namespace varistellar::convert {
namespace {

// FOLDER/NAME as the user would write it; NAME alone for the current folder.
std::string inFolder(const std::string& folder, std::string_view name) {
  if (folder.empty()) return std::string{name};
  std::string path = folder;
  if (!platform::isPathSeparator(path.back())) path.push_back(platform::pathSeparator());
  return path.append(name);
}

bool endsWithTableExtension(std::string_view name) {
  if (name.size() < 4 || name[name.size() - 4] != '.') return false;
  std::string extension{name.substr(name.size() - 3)};
  std::transform(extension.begin(), extension.end(), extension.begin(), [](char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte;
  });
  return extension == "xls" || extension == "tbl" || extension == "csv" || extension == "txt";
}

// The files of FOLDER whose names a table program saves under and whose
// content is a table with no usual name of its own (AstroImageJ's), in name
// order; the parameter file and reports are told apart by their content.
std::vector<std::string> namelessTablesIn(const std::string& folder) {
  std::vector<std::string> names = platform::folderEntries(folder);
  std::sort(names.begin(), names.end());
  std::vector<std::string> tables;
  for (const std::string& name : names) {
    if (!endsWithTableExtension(name)) continue;
    const file_kind::FileKind kind = file_kind::fileKindOfFile(inFolder(folder, name));
    if (kind.kind == file_kind::Kind::table && kind.table->fileNames.empty()) {
      tables.push_back(name);
    }
  }
  return tables;
}

// FOLDER's table: the first of the formats' usual names that is there, else
// the one file whose content is a table without a usual name, else MAGNIVEX's
// name, which the reader's message then names.
NightFiles tableIn(const std::string& folder) {
  for (const night::TableFormat* format : night::tableFormats()) {
    for (const std::string_view name : format->fileNames) {
      std::string path = inFolder(folder, name);
      if (platform::pathKind(path) == platform::PathKind::file) return {path, {}};
    }
  }
  const std::vector<std::string> tables = namelessTablesIn(folder);
  if (tables.size() == 1) return {inFolder(folder, tables.front()), {}};
  NightFiles files{inFolder(folder, night::magnivexTableFormat().fileNames.front()), {}};
  if (tables.size() > 1) {
    std::string names;
    for (const std::string& name : tables) {
      names.append(names.empty() ? "" : ", ").append(diagnostics::quoted(name));
    }
    files.tableFile = inFolder(folder, tables.front());
    files.tableProblem = "the folder holds no lightcurve.txt or light_curve.dat, and " +
                         std::to_string(tables.size()) + " AstroImageJ tables: " + names +
                         "; name the one to convert with --table";
  }
  return files;
}

}  // namespace

ConvertPlan convertPlan(const ConvertOptions& options) {
  ConvertPlan plan;
  std::vector<std::string> folders = options.folders;
  if (folders.empty()) folders.emplace_back();
  for (const std::string& folder : folders) {
    NightFiles files = options.table ? NightFiles{*options.table, {}} : tableIn(folder);
    files.parameterFile = options.parameters.value_or(inFolder(folder, "VARISTELLAR-input.txt"));
    plan.nights.push_back(std::move(files));
  }
  plan.reportFile = options.report.value_or(inFolder(folders.front(), "lightcurve-aavso.txt"));
  plan.plotFile = options.plot.value_or("");
  plan.date = options.date;
  plan.dateGiven = options.dateGiven;
  plan.checkStar = options.checkStar;
  plan.quiet = options.quiet;
  plan.coefficientFile = options.transform.value_or("");
  plan.colour = options.colour;
  plan.pairWithinMinutes = options.pairWithinMinutes;
  plan.pairWithinText = options.pairWithinText;
  plan.scatterWidth = options.scatterWidth;
  return plan;
}

}  // namespace varistellar::convert
