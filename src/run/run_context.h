// What the interactive run is told from outside: its files, the report's
// form and date; the defaults are the legacy program's own. The report's
// date and form are shared with the command line.
#pragma once

#include <string>

namespace varistellar::run {

// The report's DATE: the table's heliocentric date, or the Julian date
// HJD - HELCOR.
enum class DateKind { hjd, jd };

// How the report is written: the interactive run's fixed-width record, or
// the command line's record of trimmed, whole values.
enum class ReportForm { interactive, aavso };

struct RunContext {
  std::string tableFile = "lightcurve.txt";
  std::string parameterFile = "VARISTELLAR-input.txt";
  std::string reportFile = "lightcurve-aavso.txt";
  ReportForm form = ReportForm::interactive;
  DateKind date = DateKind::hjd;
};

}  // namespace varistellar::run
