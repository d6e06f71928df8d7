// The files of a conversion.
#include "convert/convert_options.h"

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

// FOLDER's table: the first of the formats' usual names that is there, else
// MAGNIVEX's name, which the reader's message then names.
std::string tableIn(const std::string& folder) {
  for (const night::TableFormat* format : night::tableFormats()) {
    for (const std::string_view name : format->fileNames) {
      std::string path = inFolder(folder, name);
      if (platform::pathKind(path) == platform::PathKind::file) return path;
    }
  }
  return inFolder(folder, night::magnivexTableFormat().fileNames.front());
}

}  // namespace

ConvertPlan convertPlan(const ConvertOptions& options) {
  ConvertPlan plan;
  std::vector<std::string> folders = options.folders;
  if (folders.empty()) folders.emplace_back();
  for (const std::string& folder : folders) {
    plan.nights.push_back({options.table ? *options.table : tableIn(folder),
                           options.parameters.value_or(inFolder(folder, "VARISTELLAR-input.txt"))});
  }
  plan.reportFile = options.report.value_or(inFolder(folders.front(), "lightcurve-aavso.txt"));
  plan.plotFile = options.plot.value_or("");
  plan.date = options.date;
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
