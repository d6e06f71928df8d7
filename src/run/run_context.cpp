// The run context of `convert`.
#include "run/run_context.h"

#include "platform/platform.h"

namespace varistellar::run {
namespace {

// FOLDER/NAME as the user would write it; NAME alone for the current folder.
std::string inFolder(const std::string& folder, const char* name) {
  if (folder.empty()) return name;
  std::string path = folder;
  if (!platform::isPathSeparator(path.back())) path.push_back(platform::pathSeparator());
  return path.append(name);
}

}  // namespace

RunContext convertContext(const ConvertOptions& options) {
  RunContext context;
  context.tableFile = options.table.value_or(inFolder(options.folder, "lightcurve.txt"));
  context.parameterFile =
      options.parameters.value_or(inFolder(options.folder, "VARISTELLAR-input.txt"));
  context.reportFile = options.report.value_or(inFolder(options.folder, "lightcurve-aavso.txt"));
  context.form = ReportForm::aavso;
  context.date = options.date;
  context.checkStar = options.checkStar;
  context.plotFile = options.plot.value_or("");
  context.quiet = options.quiet;
  return context;
}

}  // namespace varistellar::run
