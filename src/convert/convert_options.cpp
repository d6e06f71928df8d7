// The files of a conversion.
#include "convert/convert_options.h"

#include "platform/platform.h"

namespace varistellar::convert {
namespace {

// FOLDER/NAME as the user would write it; NAME alone for the current folder.
std::string inFolder(const std::string& folder, const char* name) {
  if (folder.empty()) return name;
  std::string path = folder;
  if (!platform::isPathSeparator(path.back())) path.push_back(platform::pathSeparator());
  return path.append(name);
}

}  // namespace

ConvertPlan convertPlan(const ConvertOptions& options) {
  ConvertPlan plan;
  std::vector<std::string> folders = options.folders;
  if (folders.empty()) folders.emplace_back();
  for (const std::string& folder : folders) {
    plan.nights.push_back({options.table.value_or(inFolder(folder, "lightcurve.txt")),
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
  return plan;
}

}  // namespace varistellar::convert
