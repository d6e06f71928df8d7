// Drawing the night's picture.
#include "plot/svg_picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <span>
#include <string_view>
#include <vector>

#include "plot/axis_ticks.h"
#include "plot/calendar_date.h"

namespace varistellar::plot {
namespace {

constexpr double pictureWidth = 1000.0;
constexpr double pictureHeight = 780.0;
// The ensemble's panel below the airmass, when there is one.
constexpr double comparisonsTop = 750.0;
constexpr double comparisonsBottom = 890.0;
constexpr double comparisonsHeight = 170.0;
constexpr double plotLeft = 90.0;
constexpr double plotRight = 970.0;

// One panel of the picture: where it stands and what its values span.
struct Panel {
  double top = 0.0;
  double bottom = 0.0;
  AxisRange range{};
  bool growsDownwards = false;  // magnitudes: brighter is higher

  [[nodiscard]] double y(double value) const {
    const double share = (value - range.low) / (range.high - range.low);
    return growsDownwards ? top + share * (bottom - top) : bottom - share * (bottom - top);
  }
};

struct TimeAxis {
  AxisRange range{};
  double dayOffset = 0.0;  // the whole day taken from every date

  [[nodiscard]] double x(double date) const {
    return plotLeft + (date - range.low) / (range.high - range.low) * (plotRight - plotLeft);
  }
};

std::string escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// Coordinates with two decimals: a hundredth of a pixel.
std::string at(double coordinate) { return fixedDecimals(coordinate, 2); }

AxisRange valueRange(std::span<const SeriesPoint> points, double least) {
  double low = std::numeric_limits<double>::infinity();
  double high = -low;
  for (const SeriesPoint& point : points) {
    low = std::min(low, point.low);
    high = std::max(high, point.high);
  }
  if (points.empty()) return {-least, least};
  return paddedRange(low, high, least);
}

class Picture {
 public:
  explicit Picture(double height) {
    svg_ += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
            at(pictureWidth) + "\" height=\"" + at(height) + "\" viewBox=\"0 0 " +
            at(pictureWidth) + " " + at(height) + "\" font-family=\"sans-serif\">\n";
    svg_ +=
        "<style>.obs{fill:#1f4e9c}.check{fill:#b03a2e}.airmass{fill:#4d4d4d}"
        ".bars{stroke-width:1;fill:none}.grid{stroke:#d9d9d9;stroke-width:1}"
        ".frame{fill:none;stroke:#333;stroke-width:1}text{fill:#222}</style>\n";
    svg_ += "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n";
  }

  void text(double x, double y, std::string_view content, std::string_view attributes) {
    svg_ += "<text x=\"" + at(x) + "\" y=\"" + at(y) + "\" " + std::string{attributes} + ">" +
            escaped(content) + "</text>\n";
  }

  void title(const std::string& content) { svg_ += "<title>" + escaped(content) + "</title>\n"; }

  // The panel's frame, its value grid and labels, and the time grid.
  void frame(const Panel& panel, const TimeAxis& time, const std::vector<Tick>& timeTicks,
             std::string_view label, std::string_view tickClass) {
    for (const Tick& tick : roundTicks(panel.range, panel.bottom - panel.top > 200 ? 8 : 4)) {
      const double y = panel.y(tick.value);
      svg_ += "<line class=\"grid\" x1=\"" + at(plotLeft) + "\" y1=\"" + at(y) + "\" x2=\"" +
              at(plotRight) + "\" y2=\"" + at(y) + "\"/>\n";
      text(plotLeft - 6, y + 4, tick.label,
           "class=\"" + std::string{tickClass} + "\" font-size=\"12\" text-anchor=\"end\"");
    }
    for (const Tick& tick : timeTicks) {
      const double x = time.x(tick.value + time.dayOffset);
      svg_ += "<line class=\"grid\" x1=\"" + at(x) + "\" y1=\"" + at(panel.top) + "\" x2=\"" +
              at(x) + "\" y2=\"" + at(panel.bottom) + "\"/>\n";
    }
    svg_ += "<rect class=\"frame\" x=\"" + at(plotLeft) + "\" y=\"" + at(panel.top) +
            "\" width=\"" + at(plotRight - plotLeft) + "\" height=\"" +
            at(panel.bottom - panel.top) + "\"/>\n";
    const double middle = (panel.top + panel.bottom) / 2.0;
    text(24, middle, label,
         "font-size=\"13\" text-anchor=\"middle\" transform=\"rotate(-90 24 " + at(middle) + ")\"");
  }

  // One series: its bars in one path, then a mark of the class per point.
  void series(std::span<const SeriesPoint> points, const Panel& panel, const TimeAxis& time,
              std::string_view className, std::string_view colour, double radius, bool tooltips,
              int valueDecimals, std::string_view markStyle = {}) {
    std::string bars;
    for (const SeriesPoint& point : points) {
      if (point.high == point.low) continue;
      const double x = time.x(point.date);
      bars += "M" + at(x) + " " + at(panel.y(point.low)) + "V" + at(panel.y(point.high));
    }
    if (!bars.empty()) {
      svg_ += "<path class=\"bars\" stroke=\"" + std::string{colour} +
              "\" stroke-opacity=\"0.5\" d=\"" + bars + "\"/>\n";
    }
    for (const SeriesPoint& point : points) {
      svg_ += "<circle class=\"" + std::string{className} + "\" cx=\"" + at(time.x(point.date)) +
              "\" cy=\"" + at(panel.y(point.value)) + "\" r=\"" + at(radius) + "\"";
      if (!markStyle.empty()) svg_ += " style=\"" + std::string{markStyle} + "\"";
      if (tooltips) {
        svg_ += "><title>" + fixedDecimals(point.date, 5) + ": " +
                fixedDecimals(point.value, valueDecimals) + "</title></circle>\n";
      } else {
        svg_ += "/>\n";
      }
    }
  }

  // A band across the panel from `low` to `high`, and a dashed line at `middle`.
  void band(const Panel& panel, double low, double middle, double high, std::string_view colour) {
    const double top = std::min(panel.y(low), panel.y(high));
    const double height = std::fabs(panel.y(high) - panel.y(low));
    svg_ += "<rect class=\"band\" x=\"" + at(plotLeft) + "\" y=\"" + at(top) + "\" width=\"" +
            at(plotRight - plotLeft) + "\" height=\"" + at(height) + "\" fill=\"" +
            std::string{colour} + "\" fill-opacity=\"0.12\"/>\n";
    svg_ += "<line class=\"band\" x1=\"" + at(plotLeft) + "\" y1=\"" + at(panel.y(middle)) +
            "\" x2=\"" + at(plotRight) + "\" y2=\"" + at(panel.y(middle)) + "\" stroke=\"" +
            std::string{colour} + "\" stroke-opacity=\"0.6\" stroke-dasharray=\"4 3\"/>\n";
  }

  // A mark in `colour`, filled or a ring, and the name beside it.
  void legendEntry(double x, double y, std::string_view name, std::string_view colour,
                   bool ring = false) {
    svg_ += "<circle class=\"legend\" cx=\"" + at(x) + "\" cy=\"" + at(y - 4) + "\" r=\"4\" ";
    svg_ += ring ? std::string{"fill=\"none\" stroke=\""} : std::string{"fill=\""};
    svg_.append(colour).append("\"/>\n");
    text(x + 8, y, name, "class=\"legend\" font-size=\"12\"");
  }

  std::string finish() {
    svg_ += "</svg>\n";
    return std::move(svg_);
  }

 private:
  std::string svg_;
};

// Every series of a panel as one list, for its range.
std::vector<SeriesPoint> allPoints(const std::vector<std::vector<SeriesPoint>>& series) {
  std::vector<SeriesPoint> all;
  for (const auto& points : series) all.insert(all.end(), points.begin(), points.end());
  return all;
}

TimeAxis timeAxis(const std::vector<SeriesPoint>& target) {
  double first = std::numeric_limits<double>::infinity();
  double last = -first;
  for (const SeriesPoint& point : target) {
    first = std::min(first, point.date);
    last = std::max(last, point.date);
  }
  if (target.empty()) first = last = 0.0;
  TimeAxis time;
  time.dayOffset = std::floor(first);
  const AxisRange shown = paddedRange(first - time.dayOffset, last - time.dayOffset, 0.01);
  time.range = {shown.low + time.dayOffset, shown.high + time.dayOffset};
  return time;
}

std::string wholeNumber(double value) { return fixedDecimals(value, 0); }

// A filter's colour in a picture of several: the colours of the light each
// passes where there is one, else one of a few that stand apart.
std::string_view filterColour(std::string_view filter, std::size_t index) {
  if (filter == "U") return "#6a3d9a";
  if (filter == "B" || filter == "TB") return "#1f4e9c";
  if (filter == "V" || filter == "TG") return "#2e8b57";
  if (filter == "R" || filter == "TR") return "#c0392b";
  if (filter == "I") return "#7f1d1d";
  static constexpr std::array<std::string_view, 5> others = {"#e08214", "#0f8b8d", "#8c564b",
                                                             "#d6277a", "#555555"};
  return others[index % others.size()];
}

// A comparison star's colour in the ensemble's panel.
std::string_view comparisonColour(std::size_t index) {
  static constexpr std::array<std::string_view, 8> colours = {
      "#1f77b4", "#ff7f0e", "#2ca02c", "#d62728", "#9467bd", "#8c564b", "#e377c2", "#17becf"};
  return colours[index % colours.size()];
}

// "B 12.900, V 12.345": a magnitude in each filter.
std::string eachFilter(const std::vector<FilterLabels>& filters, double FilterLabels::*magnitude) {
  std::string text;
  for (const FilterLabels& filter : filters) {
    if (!text.empty()) text += ", ";
    text += filter.filter + " " + fixedDecimals(filter.*magnitude, 3);
  }
  return text;
}

}  // namespace

namespace {

std::string filterList(const std::vector<FilterLabels>& filters) {
  std::string names;
  for (const FilterLabels& filter : filters) names += (names.empty() ? "" : ", ") + filter.filter;
  return names;
}

// The title: the star, its filters, the observer, the night's date and size.
std::string headingText(const PictureLabels& labels) {
  const bool several = labels.filters.size() > 1;
  return labels.star + (several ? ", filters " : ", filter ") + filterList(labels.filters) +
         ", observer " + labels.observer + ", " +
         (labels.observations == 0 ? std::string{"no observations"}
                                   : calendarDate(labels.firstJulianDate) + " UT, " +
                                         std::to_string(labels.observations) + " observations");
}

// The comparison and check stars with their catalogue magnitudes.
std::string starsText(const PictureLabels& labels) {
  const bool several = labels.filters.size() > 1;
  const FilterLabels& first = labels.filters.front();
  std::string detail = "comparison " + labels.comparison + " (" +
                       (several ? eachFilter(labels.filters, &FilterLabels::comparisonMagnitude)
                                : fixedDecimals(first.comparisonMagnitude, 3)) +
                       ")";
  detail += labels.checkStar.empty()
                ? ", no check star"
                : ", check star " + labels.checkStar + " (" +
                      (several ? eachFilter(labels.filters, &FilterLabels::checkMagnitude)
                               : fixedDecimals(first.checkMagnitude, 3)) +
                      ")";
  return detail;
}

// How the points are drawn: each one, or binned.
std::string drawingText(const Series& series, const PictureLabels& labels) {
  if (series.bins == 0) return "bars: the error of each value";
  const double minutes = series.binWidth * 24.0 * 60.0;
  return std::to_string(labels.observations) + " observations shown as " +
         std::to_string(series.bins) + " bins of " +
         (minutes < 120.0 ? fixedDecimals(minutes, 1) + " min"
                          : fixedDecimals(series.binWidth, 3) + " d") +
         ": each the mean, its bar from the lowest to the highest value";
}

std::vector<SeriesPoint> pointsOfBoth(const std::vector<std::vector<SeriesPoint>>& one,
                                      const std::vector<std::vector<SeriesPoint>>& other) {
  std::vector<SeriesPoint> points = allPoints(one);
  const std::vector<SeriesPoint> more = allPoints(other);
  points.insert(points.end(), more.begin(), more.end());
  return points;
}

// The picture's three panels on one time axis, drawn in turn.
class NightDrawing {
 public:
  NightDrawing(const Series& series, const PictureLabels& labels)
      : series_{series},
        labels_{labels},
        several_{labels.filters.size() > 1},
        targetPoints_{pointsOfBoth(series.target, series.untransformed)},
        checkPoints_{pointsOfBoth(series.check, series.untransformedCheck)},
        time_{timeAxis(targetPoints_)},
        timeTicks_{
            roundTicks({time_.range.low - time_.dayOffset, time_.range.high - time_.dayOffset}, 8)},
        extra_{series.comparisons.empty() ? 0.0 : comparisonsHeight},
        picture_{pictureHeight + extra_} {}

  std::string draw() {
    const std::string heading = headingText(labels_);
    picture_.title(heading);
    picture_.text(plotLeft, 26, heading, "font-size=\"18\" font-weight=\"bold\"");
    picture_.text(plotLeft, 45, starsText(labels_), "font-size=\"13\"");
    picture_.text(plotLeft, 62, drawingText(series_, labels_),
                  "font-size=\"12\" fill-opacity=\"0.8\"");
    drawTargetPanel();
    drawCheckPanel();
    const Panel airmass{620, 720, valueRange(series_.airmass, 0.05), false};
    picture_.frame(airmass, time_, timeTicks_, "airmass", "ytick-airmass");
    picture_.series(series_.airmass, airmass, time_, "airmass", "#4d4d4d", 1.3, series_.bins == 0,
                    3);
    if (!series_.comparisons.empty()) drawComparisonsPanel();
    drawTimeAxis();
    return picture_.finish();
  }

 private:
  std::string markStyle(std::size_t night) const {
    return several_ ? "fill:" + std::string{filterColour(labels_.filters[night].filter, night)}
                    : std::string{};
  }
  std::string_view barColour(std::size_t night, std::string_view single) const {
    return several_ ? filterColour(labels_.filters[night].filter, night) : single;
  }

  // Each night's points, filled, then its untransformed ones as rings.
  void drawSeries(const std::vector<std::vector<SeriesPoint>>& filled,
                  const std::vector<std::vector<SeriesPoint>>& rings, const Panel& panel,
                  std::string_view kind, std::string_view colour, double size) {
    for (std::size_t night = 0; night < filled.size(); ++night) {
      picture_.series(filled[night], panel, time_, kind, barColour(night, colour), size,
                      series_.bins == 0, 3, markStyle(night));
    }
    for (std::size_t night = 0; night < rings.size(); ++night) {
      const std::string ring{barColour(night, colour)};
      picture_.series(rings[night], panel, time_, kind, ring, size, series_.bins == 0, 3,
                      "fill:none;stroke:" + ring + ";stroke-width:1");
    }
  }

  void drawTargetPanel() {
    const Panel target{72, 420, valueRange(targetPoints_, 0.05), true};
    picture_.frame(target, time_, timeTicks_,
                   several_ ? "magnitude" : labels_.filters.front().filter + " magnitude",
                   "ytick-obs");
    drawSeries(series_.target, series_.untransformed, target, "obs", "#1f4e9c", 2.2);
    if (labels_.transformed) {
      // Which marks are which, at the top left of the magnitudes.
      picture_.legendEntry(plotLeft + 10.0, 88, "transformed", "#4d4d4d");
      picture_.legendEntry(plotLeft + 100.0, 88, "untransformed (TRANS NO)", "#4d4d4d", true);
    }
    if (!several_) return;
    // The legend, at the top right of the magnitudes.
    double x = plotRight - 60.0 * static_cast<double>(labels_.filters.size());
    for (std::size_t night = 0; night < labels_.filters.size(); ++night) {
      picture_.legendEntry(x, 88, labels_.filters[night].filter,
                           filterColour(labels_.filters[night].filter, night));
      x += 60.0;
    }
  }

  std::string checkLabel() const {
    if (labels_.checkStar.empty()) return "check star";
    if (labels_.checkTransformed) return "transformed Kstd - catalogue";
    if (several_) return "check star: Kstd - catalogue";
    return "check star: Kstd - " + fixedDecimals(labels_.filters.front().checkMagnitude, 3);
  }

  void drawCheckPanel() {
    const Panel check{450, 590, valueRange(checkPoints_, 0.05), true};
    picture_.frame(check, time_, timeTicks_, checkLabel(), "ytick-check");
    if (labels_.checkStar.empty()) {
      picture_.text((plotLeft + plotRight) / 2, 524, "no check star in the parameter file",
                    "font-size=\"13\" text-anchor=\"middle\"");
    } else if (checkPoints_.empty()) {
      picture_.text((plotLeft + plotRight) / 2, 524, "the check star was not measured",
                    "font-size=\"13\" text-anchor=\"middle\"");
    }
    drawBands(check);
    drawSeries(series_.check, series_.untransformedCheck, check, "check", "#b03a2e", 2.0);
  }

  // One standard deviation about each filter's mean, behind its points.
  void drawBands(const Panel& check) {
    for (std::size_t night = 0; night < series_.checkBands.size(); ++night) {
      const CheckBand& band = series_.checkBands[night];
      if (band.count < 2) continue;
      picture_.band(check, band.mean - band.deviation, band.mean, band.mean + band.deviation,
                    barColour(night, "#b03a2e"));
    }
  }

  // Each comparison star of the ensemble against the others, one colour
  // each, named in the legend.
  void drawComparisonsPanel() {
    std::vector<SeriesPoint> all;
    for (const NamedSeries& star : series_.comparisons) {
      all.insert(all.end(), star.points.begin(), star.points.end());
    }
    const Panel panel{comparisonsTop, comparisonsBottom, valueRange(all, 0.05), true};
    picture_.frame(panel, time_, timeTicks_, "comparison - catalogue", "ytick-comparison");
    // Many apertures share the panel's width rather than run off its left.
    const auto count = static_cast<double>(series_.comparisons.size());
    const double step = std::min(70.0, (plotRight - plotLeft) / count);
    double x = plotRight - step * count;
    for (std::size_t i = 0; i < series_.comparisons.size(); ++i) {
      const std::string colour{comparisonColour(i)};
      picture_.series(series_.comparisons[i].points, panel, time_, "comparison", colour, 1.6,
                      series_.bins == 0, 3, "fill:" + colour);
      // Above the panel, in the gap below the airmass: never over a point.
      picture_.legendEntry(x, comparisonsTop - 8.0, series_.comparisons[i].name, colour);
      x += step;
    }
  }

  void drawTimeAxis() {
    for (const Tick& tick : timeTicks_) {
      picture_.text(time_.x(tick.value + time_.dayOffset), 740 + extra_, tick.label,
                    "class=\"xtick\" font-size=\"12\" text-anchor=\"middle\"");
    }
    picture_.text((plotLeft + plotRight) / 2, 768 + extra_,
                  labels_.dateKind + " - " + wholeNumber(time_.dayOffset) + " (days)",
                  "font-size=\"13\" text-anchor=\"middle\"");
  }

  const Series& series_;
  const PictureLabels& labels_;
  const bool several_;
  const std::vector<SeriesPoint> targetPoints_;
  const std::vector<SeriesPoint> checkPoints_;
  const TimeAxis time_;
  const std::vector<Tick> timeTicks_;
  const double extra_;  // the height the ensemble's panel adds
  Picture picture_;
};

}  // namespace

std::string drawNightPicture(const Series& series, const PictureLabels& labels) {
  return NightDrawing{series, labels}.draw();
}

}  // namespace varistellar::plot
