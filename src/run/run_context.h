// What the interactive run is told from outside: its files, the report's
// form and date; the defaults are the legacy program's own.
#pragma once

#include <string>

#include "report/report_kinds.h"

namespace varistellar::run {

using report::DateKind;
using report::ReportForm;

struct RunContext {
  std::string tableFile = "lightcurve.txt";
  std::string parameterFile = "VARISTELLAR-input.txt";
  std::string reportFile = "lightcurve-aavso.txt";
  ReportForm form = ReportForm::interactive;
  DateKind date = DateKind::hjd;
};

}  // namespace varistellar::run
