// The header lines.
#include "report/header_lines.h"

#include "aeff/format.h"
#include "version.h"

namespace varistellar::report {
namespace {

// "#STARID,DATE,...,NOTES": the format's field names in their order.
std::string columnTitleLine() {
  std::string line = "#";
  for (const aeff::FieldFacts& field : aeff::fields) {
    if (line.size() > 1) line += ',';
    line.append(field.name);
  }
  return line;
}

// Joins a prefix and a value into a text of exactly `width` characters:
// cut when longer, padded with blanks when shorter.
std::string fixedLengthJoin(std::string_view prefix, std::string_view value, std::size_t width) {
  std::string joined{prefix};
  joined.append(value);
  joined.resize(width, ' ');
  return joined;
}

}  // namespace

std::array<std::string, 7> reportHeaderLines(std::string_view observerCode, ReportForm form,
                                             DateKind date, std::string_view program) {
  const bool interactive = form == ReportForm::interactive;
  return {
      "#TYPE=Extended",
      interactive ? fixedLengthJoin("#OBSCODE=", observerCode, 13)
                  : "#OBSCODE=" + std::string{observerCode},
      interactive ? ("#SOFTWARE=" + std::string{program})
                  : ("#SOFTWARE=" + std::string{program} + " via VARISTELLAR " +
                     std::string{programVersion()}),
      fixedLengthJoin("#DELIM=", ",", 8),
      date == DateKind::jd ? "#DATE=JD" : "#DATE=HJD",
      "#OBSTYPE=CCD",
      columnTitleLine(),
  };
}

}  // namespace varistellar::report
