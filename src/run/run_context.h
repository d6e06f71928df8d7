// What a conversion is told from outside: its files, the report's form and
// the options. The interactive run's defaults are the legacy program's own.
#pragma once

#include <optional>
#include <string>

namespace varistellar::run {

// The report's DATE: the table's heliocentric date, or the Julian date
// HJD - HELCOR.
enum class DateKind { hjd, jd };

// How the report is written: the interactive run's fixed-width record, or
// the command line's record of trimmed, whole values.
enum class ReportForm { interactive, aavso };

// The options of `varistellar convert` as the user gave them.
struct ConvertOptions {
  std::string folder{};  // empty: the current folder
  std::optional<std::string> table{};
  std::optional<std::string> parameters{};
  std::optional<std::string> report{};
  DateKind date = DateKind::hjd;
  bool checkStar = false;
  std::optional<std::string> plot{};
  bool quiet = false;
};

struct RunContext {
  std::string tableFile = "lightcurve.txt";
  std::string parameterFile = "VARISTELLAR-input.txt";
  std::string reportFile = "lightcurve-aavso.txt";
  ReportForm form = ReportForm::interactive;
  DateKind date = DateKind::hjd;
  bool checkStar = false;  // CMAG, KMAG and NOTES of the check star
  std::string plotFile{};  // empty: no picture
  bool quiet = false;
};

// The files and form of `convert`: each file named by its option, or the
// standard name in FOLDER.
[[nodiscard]] RunContext convertContext(const ConvertOptions& options);

}  // namespace varistellar::run
