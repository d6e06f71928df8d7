// The summary's lines.
#include "convert/night_summary.h"

#include <algorithm>
#include <limits>

#include "console/counted.h"
#include "diagnostics/quoted.h"
#include "report/number_text.h"

namespace varistellar::convert {
namespace {

std::string magnitude(double value) { return report::writtenNumber(value, 6, 3); }

// "B 12.900, V 12.345": one magnitude in each night's filter.
template <typename Magnitude>
std::string inEachFilter(const std::vector<const NightConversion*>& nights, Magnitude of) {
  std::string text;
  for (const NightConversion* night : nights) {
    if (!text.empty()) text += ", ";
    text += night->parameters().filterName + " " + magnitude(of(night->parameters()));
  }
  return text;
}

// "lightcurve.txt: 320 observation lines: 318 written, 1 dropped (...), 1 left out (...)"
std::string tableLine(const NightConversion& conversion) {
  std::string line = diagnostics::shownName(conversion.tableFile());
  line.append(": ")
      .append(console::countOf(conversion.counts().observationLines, "observation line"))
      .append(": ")
      .append(std::to_string(conversion.written()))
      .append(" written, ")
      .append(std::to_string(conversion.counts().dropped))
      .append(" dropped (")
      .append(conversion.format().words.dropped)
      .append("), ")
      .append(std::to_string(conversion.leftOut()))
      .append(" left out (MERR of 1.0 or more)");
  return line;
}

// The star, its filter or filters, the observer and the chart or charts.
std::string starLine(const std::vector<const NightConversion*>& nights) {
  const night::NightParameters& first = nights.front()->parameters();
  if (nights.size() == 1) {
    return "star " + first.variableStarId + ", filter " + first.filterName + ", observer " +
           first.observerCode + ", chart " + first.chartId;
  }
  std::string filters;
  std::string charts;
  bool oneChart = true;
  for (const NightConversion* night : nights) {
    const night::NightParameters& parameters = night->parameters();
    filters += (filters.empty() ? "" : ", ") + parameters.filterName;
    charts +=
        (charts.empty() ? "" : ", ") + parameters.chartId + " (" + parameters.filterName + ")";
    oneChart = oneChart && parameters.chartId == first.chartId;
  }
  return "star " + first.variableStarId + ", filters " + filters + ", observer " +
         first.observerCode + (oneChart ? ", chart " + first.chartId : ", charts " + charts);
}

// The comparison and check stars with their catalogue magnitudes.
std::string comparisonLine(const std::vector<const NightConversion*>& nights) {
  const bool several = nights.size() > 1;
  const night::NightParameters& first = nights.front()->parameters();
  std::string stars =
      "comparison star " + first.comparisonStarId + " (" +
      (several ? inEachFilter(nights,
                              [](const night::NightParameters& p) { return p.comparisonMagnitude; })
               : magnitude(first.comparisonMagnitude)) +
      ")";
  if (!first.checkStar) return stars + ", no check star";
  return stars + ", check star " + first.checkStar->id + " (" +
         (several ? inEachFilter(nights,
                                 [](const night::NightParameters& p) {
                                   return p.checkStar ? p.checkStar->magnitude : 0.0;
                                 })
                  : magnitude(first.checkStar->magnitude)) +
         ")";
}

}  // namespace

std::vector<std::string> summaryLines(const std::vector<const NightConversion*>& nights,
                                      run::DateKind date, const std::string& reportFile) {
  std::vector<std::string> lines;
  std::uint64_t written = 0;
  double firstDate = std::numeric_limits<double>::infinity();
  double lastDate = -firstDate;
  for (const NightConversion* night : nights) {
    lines.push_back(tableLine(*night));
    written += night->written();
    if (night->written() != 0) {
      firstDate = std::min(firstDate, night->firstDate());
      lastDate = std::max(lastDate, night->lastDate());
    }
  }
  lines.push_back(starLine(nights));
  lines.push_back(comparisonLine(nights));
  const std::string kind = date == run::DateKind::jd ? "JD" : "HJD";
  if (written == 0) {
    lines.push_back("dates (" + kind + "): none");
  } else {
    lines.push_back("dates (" + kind + "): " + report::writtenNumber(firstDate, 13, 5) + " to " +
                    report::writtenNumber(lastDate, 13, 5));
  }
  lines.push_back("wrote " + diagnostics::shownName(reportFile) + ": " +
                  console::countOf(written, "observation"));
  return lines;
}

}  // namespace varistellar::convert
