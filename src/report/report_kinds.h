// The two choices every report is written with: its date and its form.
#pragma once

namespace varistellar::report {

// The report's DATE: the table's heliocentric date, or the Julian date
// HJD - HELCOR.
enum class DateKind { hjd, jd };

// How the report is written: the interactive run's fixed-width record, or
// the command line's record of trimmed, whole values.
enum class ReportForm { interactive, aavso };

}  // namespace varistellar::report
