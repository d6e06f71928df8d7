// Drawing the night's picture.
#include "plot/svg_picture.h"

#include <algorithm>
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
  Picture() {
    svg_ += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
            at(pictureWidth) + "\" height=\"" + at(pictureHeight) + "\" viewBox=\"0 0 " +
            at(pictureWidth) + " " + at(pictureHeight) + "\" font-family=\"sans-serif\">\n";
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
              int valueDecimals) {
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
      if (tooltips) {
        svg_ += "><title>" + fixedDecimals(point.date, 5) + ": " +
                fixedDecimals(point.value, valueDecimals) + "</title></circle>\n";
      } else {
        svg_ += "/>\n";
      }
    }
  }

  std::string finish() {
    svg_ += "</svg>\n";
    return std::move(svg_);
  }

 private:
  std::string svg_;
};

TimeAxis timeAxis(const Series& series) {
  double first = std::numeric_limits<double>::infinity();
  double last = -first;
  for (const SeriesPoint& point : series.target) {
    first = std::min(first, point.date);
    last = std::max(last, point.date);
  }
  if (series.target.empty()) first = last = 0.0;
  TimeAxis time;
  time.dayOffset = std::floor(first);
  const AxisRange shown = paddedRange(first - time.dayOffset, last - time.dayOffset, 0.01);
  time.range = {shown.low + time.dayOffset, shown.high + time.dayOffset};
  return time;
}

std::string wholeNumber(double value) { return fixedDecimals(value, 0); }

}  // namespace

std::string drawNightPicture(const Series& series, const PictureLabels& labels) {
  Picture picture;
  const std::string heading =
      labels.star + ", filter " + labels.filter + ", observer " + labels.observer + ", " +
      (labels.observations == 0 ? std::string{"no observations"}
                                : calendarDate(labels.firstJulianDate) + " UT, " +
                                      std::to_string(labels.observations) + " observations");
  picture.title(heading);
  picture.text(plotLeft, 26, heading, "font-size=\"18\" font-weight=\"bold\"");
  std::string detail =
      "comparison " + labels.comparison + " (" + fixedDecimals(labels.comparisonMagnitude, 3) + ")";
  detail += labels.checkStar.empty() ? ", no check star"
                                     : ", check star " + labels.checkStar + " (" +
                                           fixedDecimals(labels.checkMagnitude, 3) + ")";
  std::string drawing = "bars: the error of each value";
  if (series.bins != 0) {
    const double minutes = series.binWidth * 24.0 * 60.0;
    drawing = std::to_string(labels.observations) + " observations shown as " +
              std::to_string(series.bins) + " bins of " +
              (minutes < 120.0 ? fixedDecimals(minutes, 1) + " min"
                               : fixedDecimals(series.binWidth, 3) + " d") +
              ": each the mean, its bar from the lowest to the highest value";
  }
  picture.text(plotLeft, 45, detail, "font-size=\"13\"");
  picture.text(plotLeft, 62, drawing, "font-size=\"12\" fill-opacity=\"0.8\"");

  const TimeAxis time = timeAxis(series);
  const AxisRange shownDays{time.range.low - time.dayOffset, time.range.high - time.dayOffset};
  const std::vector<Tick> timeTicks = roundTicks(shownDays, 8);

  const Panel target{72, 420, valueRange(series.target, 0.05), true};
  const Panel check{450, 590, valueRange(series.check, 0.05), true};
  const Panel airmass{620, 720, valueRange(series.airmass, 0.05), false};

  picture.frame(target, time, timeTicks, labels.filter + " magnitude", "ytick-obs");
  picture.series(series.target, target, time, "obs", "#1f4e9c", 2.2, series.bins == 0, 3);

  const std::string checkLabel =
      labels.checkStar.empty() ? std::string{"check star"}
                               : "check star: Kstd - " + fixedDecimals(labels.checkMagnitude, 3);
  picture.frame(check, time, timeTicks, checkLabel, "ytick-check");
  if (labels.checkStar.empty()) {
    picture.text((plotLeft + plotRight) / 2, 524, "no check star in the parameter file",
                 "font-size=\"13\" text-anchor=\"middle\"");
  } else if (series.check.empty()) {
    picture.text((plotLeft + plotRight) / 2, 524, "the check star was not measured",
                 "font-size=\"13\" text-anchor=\"middle\"");
  }
  picture.series(series.check, check, time, "check", "#b03a2e", 2.0, series.bins == 0, 3);

  picture.frame(airmass, time, timeTicks, "airmass", "ytick-airmass");
  picture.series(series.airmass, airmass, time, "airmass", "#4d4d4d", 1.3, series.bins == 0, 3);

  for (const Tick& tick : timeTicks) {
    picture.text(time.x(tick.value + time.dayOffset), 740, tick.label,
                 "class=\"xtick\" font-size=\"12\" text-anchor=\"middle\"");
  }
  picture.text((plotLeft + plotRight) / 2, 768,
               labels.dateKind + " - " + wholeNumber(time.dayOffset) + " (days)",
               "font-size=\"13\" text-anchor=\"middle\"");
  return picture.finish();
}

}  // namespace varistellar::plot
