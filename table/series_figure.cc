#include "table/series_figure.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstddef>
#include <limits>

#include "table/figure_ticks.h"
#include "table/figure_x_axis.h"
#include "table/svg_text.h"
#include "text/escaped_text.h"

namespace {

// Sizes in points: the figure's user unit is the point, so 9 here is 9 pt in print.
constexpr double kFont = 9;
constexpr double kTitleFont = 11;
constexpr double kMargin = 6;
constexpr double kTickLength = 3;
constexpr double kLegendRow = 12;
constexpr double kLegendSample = 18;
constexpr double kLineWidth = 1.25;
constexpr double kDaysPerYear = 365.25;
// Below this size, 9 pt text leaves no room for the plot.
constexpr double kSmallestWidth = 2.5;
constexpr double kSmallestHeight = 2;

// A look per series that survives greyscale print: Okabe and Ito's colours for colour-blind
// readers (their yellow left out, too pale on white), each with its own marker and dashes.
struct SeriesLook {
  const char* colour;
  const char* marker;  // a path around (0,0)
  bool hollow;
  const char* dashes;  // empty: solid
};
constexpr SeriesLook kLooks[] = {
    {"#0072B2", "M-2.8,0a2.8,2.8 0 1,0 5.6,0a2.8,2.8 0 1,0 -5.6,0Z", false, ""},
    {"#D55E00", "M-2.5,-2.5h5v5h-5Z", false, "5 2"},
    {"#009E73", "M0,-3.3L3,2.2H-3Z", false, "1.5 1.5"},
    {"#E69F00", "M0,-3.4L3.4,0L0,3.4L-3.4,0Z", false, "6 2 1.5 2"},
    {"#CC79A7", "M0,3.3L3,-2.2H-3Z", false, "3 3"},
    {"#56B4E9", "M-2.6,0a2.6,2.6 0 1,0 5.2,0a2.6,2.6 0 1,0 -5.2,0Z", true, "8 2 2 2 2 2"},
    {"#000000", "M-2.3,-2.3h4.6v4.6h-4.6Z", true, "1 2"},
};
constexpr std::size_t kLookCount = sizeof kLooks / sizeof kLooks[0];

void appendf(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void appendf(std::string& out, const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (length >= static_cast<int>(sizeof buffer)) {
    std::string large(static_cast<std::size_t>(length) + 1, '\0');
    va_start(args, format);
    std::vsnprintf(&large[0], large.size(), format, args);
    va_end(args);
    large.resize(static_cast<std::size_t>(length));
    out += large;
  } else if (length > 0) {
    out += buffer;
  }
}

// A point of a drawn series: its x (from the plot's left edge) and value; a change's step also
// its left end.
struct SeriesPoint {
  double from;
  double at;
  double value;
};

// One panel: the columns it draws (indices into the table's columns), their points, its axis
// and where it stands.
struct Panel {
  bool changes = false;
  std::vector<std::size_t> columns;
  std::vector<std::vector<SeriesPoint>> points;
  std::string yTitle;
  std::vector<std::string> yTitleLines;
  std::string note;
  ValueAxis axis;
  std::vector<std::vector<std::size_t>> legendRows;
  double top = 0;
  double height = 0;
};

double legendEntryWidth(const FigureSeries& series) {
  return kLegendSample + 4 + textWidth(series.words, kFont) + kFont;
}

// The legend's entries, in rows no wider than the plot.
std::vector<std::vector<std::size_t>> legendRows(const SeriesTable& table,
                                                 const std::vector<std::size_t>& columns,
                                                 double width) {
  std::vector<std::vector<std::size_t>> rows;
  double used = width;
  for (const std::size_t column : columns) {
    const double entry = legendEntryWidth(table.columns[column].series);
    if (rows.empty() || used + entry > width) {
      rows.emplace_back();
      used = 0;
    }
    rows.back().push_back(column);
    used += entry;
  }
  return rows;
}

ValueAxis panelAxis(const Panel& panel, bool logarithmic, int maxTicks) {
  double smallest = 0;
  double largest = 0;
  double smallestPositive = std::numeric_limits<double>::infinity();
  for (const std::vector<SeriesPoint>& points : panel.points) {
    for (const SeriesPoint& point : points) {
      smallest = std::min(smallest, point.value);
      largest = std::max(largest, point.value);
      if (point.value > 0) {
        smallestPositive = std::min(smallestPositive, point.value);
      }
    }
  }
  if (logarithmic) {
    return logAxis(std::isfinite(smallestPositive) ? smallestPositive : 0, largest, maxTicks);
  }
  bool empty = true;
  for (const std::vector<SeriesPoint>& points : panel.points) {
    empty = empty && points.empty();
  }
  // Nothing to draw: 0 and 1 say so plainly, where fractions would suggest values.
  return linearAxis(smallest, largest, empty ? 1 : maxTicks);
}

// Room for ticks at least 2.5 font sizes apart, but never fewer than two.
int ticksFor(double height) {
  return std::max(2, std::min(6, static_cast<int>(height / (2.5 * kFont))));
}

// A title cut in two at the space nearest its middle (where there is none, left whole).
std::vector<std::string> twoLines(const std::string& title) {
  std::size_t best = std::string::npos;
  for (std::size_t at = title.find(' '); at != std::string::npos; at = title.find(' ', at + 1)) {
    const auto off = [&title](std::size_t i) {
      return std::abs(static_cast<double>(i) - static_cast<double>(title.size()) / 2);
    };
    if (best == std::string::npos || off(at) < off(best)) {
      best = at;
    }
  }
  if (best == std::string::npos) {
    return {title};
  }
  return {title.substr(0, best), title.substr(best + 1)};
}

void drawMarker(std::string& svg, std::size_t look, double x, double y) {
  const SeriesLook& style = kLooks[look % kLookCount];
  if (style.hollow) {
    appendf(svg,
            "<use xlink:href=\"#marker-%zu\" x=\"%.2f\" y=\"%.2f\" fill=\"#ffffff\" "
            "stroke=\"%s\" stroke-width=\"1\"/>\n",
            look % kLookCount, x, y, style.colour);
  } else {
    appendf(svg,
            "<use xlink:href=\"#marker-%zu\" x=\"%.2f\" y=\"%.2f\" fill=\"%s\" "
            "stroke=\"#ffffff\" stroke-width=\"0.4\"/>\n",
            look % kLookCount, x, y, style.colour);
  }
}

std::string strokeOf(std::size_t look) {
  const SeriesLook& style = kLooks[look % kLookCount];
  std::string stroke;
  appendf(stroke, "fill=\"none\" stroke=\"%s\" stroke-width=\"%g\" stroke-linejoin=\"round\"",
          style.colour, kLineWidth);
  if (style.dashes[0] != '\0') {
    stroke += std::string(" stroke-dasharray=\"") + style.dashes + "\"";
  }
  return stroke;
}

// How x reads: time when every graph has a date and they do not go backwards; changes per year
// when, besides, every interval has days and the options ask for no plain counts.
struct XReading {
  bool dated = false;
  bool time = false;
  bool perYear = false;
};

XReading xReadingOf(const SeriesTable& table, const FigureOptions& options) {
  XReading reading;
  const std::size_t count = table.labels.size();
  reading.dated = count > 0;
  bool ascending = true;
  bool intervalsHaveDays = true;
  for (std::size_t i = 0; i < count; ++i) {
    reading.dated = reading.dated && table.dates[i].known;
    if (reading.dated && i > 0) {
      ascending = ascending && table.dates[i].days >= table.dates[i - 1].days;
      intervalsHaveDays = intervalsHaveDays && table.dates[i].days > table.dates[i - 1].days;
    }
  }
  reading.time = reading.dated && ascending;
  reading.perYear = reading.time && intervalsHaveDays && count > 1 && !options.perInterval &&
                    !table.changesAgainstFirst;
  return reading;
}

// The points of the panel's columns: levels (and changes against the first graph) at their
// graphs, changes over their intervals. A value a panel cannot draw is left out, and its note
// says why.
void placePoints(Panel& panel, const SeriesTable& table, bool logarithmic, bool perYear) {
  const std::size_t count = table.labels.size();
  for (const std::size_t column : panel.columns) {
    const std::vector<double>& values = table.columns[column].values;
    std::vector<SeriesPoint> points;
    const bool intervals = panel.changes && !table.changesAgainstFirst;
    for (std::size_t i = intervals ? 1 : 0; i < count; ++i) {
      if (std::isnan(values[i])) {
        continue;
      }
      if (intervals) {
        const double days = perYear
                                ? static_cast<double>(table.dates[i].days - table.dates[i - 1].days)
                                : kDaysPerYear;
        points.push_back(
            {static_cast<double>(i - 1), static_cast<double>(i), values[i] / days * kDaysPerYear});
      } else if (logarithmic && values[i] <= 0) {
        panel.note = "zero is not drawn on a log scale";
      } else {
        points.push_back({static_cast<double>(i), static_cast<double>(i), values[i]});
      }
    }
    panel.points.push_back(points);
  }
}

// Where the plots stand across the figure, the same for every panel.
struct Frame {
  double width;  // the figure's
  double left;   // the plots' left edge
  double plotWidth;
  std::size_t titleLines;  // the y titles' lines the left margin holds
};

// The legend above the plot, where no line runs.
void drawLegend(std::string& svg, const SeriesTable& table, const Panel& panel,
                const Frame& frame) {
  for (std::size_t row = 0; row < panel.legendRows.size(); ++row) {
    const double rowY = panel.top - 4 -
                        static_cast<double>(panel.legendRows.size() - row) * kLegendRow +
                        kLegendRow / 2;
    double x = frame.left;
    for (const std::size_t column : panel.legendRows[row]) {
      appendf(svg, "<path d=\"M%.2f,%.2fH%.2f\" %s/>\n", x, rowY, x + kLegendSample,
              strokeOf(column).c_str());
      drawMarker(svg, column, x + kLegendSample / 2, rowY);
      appendf(svg, "<text x=\"%.2f\" y=\"%.2f\">%s</text>\n", x + kLegendSample + 4,
              rowY + kFont * 0.35, xmlText(table.columns[column].series.words).c_str());
      x += legendEntryWidth(table.columns[column].series);
    }
  }
}

// Grid, axes, ticks, their labels (x labels under the lowest panel only), the y title and the
// panel's note.
void drawAxes(std::string& svg, const Panel& panel, const XAxis& xAxis, const Frame& frame,
              bool lowest) {
  const double left = frame.left;
  const double bottom = panel.top + panel.height;
  auto yAt = [&](double value) { return bottom - panel.height * panel.axis.fraction(value); };
  svg += "<g stroke=\"#dddddd\" stroke-width=\"0.5\">\n";
  for (const double tick : panel.axis.ticks) {
    appendf(svg, "<path d=\"M%.2f,%.2fH%.2f\"/>\n", left, yAt(tick), left + frame.plotWidth);
  }
  for (const XTick& tick : xAxis.ticks) {
    if (!tick.label.empty()) {
      appendf(svg, "<path d=\"M%.2f,%.2fV%.2f\"/>\n", left + tick.at, panel.top, bottom);
    }
  }
  svg += "</g>\n<g stroke=\"#000000\" stroke-width=\"0.75\">\n";
  for (const double tick : panel.axis.ticks) {
    appendf(svg, "<path d=\"M%.2f,%.2fh%.2f\"/>\n", left - kTickLength, yAt(tick), kTickLength);
  }
  for (const XTick& tick : xAxis.ticks) {
    appendf(svg, "<path d=\"M%.2f,%.2fv%.2f\"/>\n", left + tick.at, bottom,
            tick.label.empty() ? kTickLength / 2 : kTickLength);
  }
  appendf(svg, "<path d=\"M%.2f,%.2fV%.2fH%.2f\" fill=\"none\"/>\n", left, panel.top, bottom,
          left + frame.plotWidth);
  svg += "</g>\n<g text-anchor=\"end\">\n";
  for (std::size_t t = 0; t < panel.axis.ticks.size(); ++t) {
    appendf(svg, "<text x=\"%.2f\" y=\"%.2f\">%s</text>\n", left - kTickLength - 2,
            yAt(panel.axis.ticks[t]) + kFont * 0.35, xmlText(panel.axis.labels[t]).c_str());
  }
  svg += "</g>\n";
  // The y title, rotated, its lines from the left margin inwards.
  const double middle = panel.top + panel.height / 2;
  for (std::size_t line = 0; line < panel.yTitleLines.size(); ++line) {
    const double titleX =
        kMargin + kFont * (0.8 + 1.2 * static_cast<double>(line + frame.titleLines -
                                                           panel.yTitleLines.size()));
    appendf(svg,
            "<text x=\"%.2f\" y=\"%.2f\" text-anchor=\"middle\" "
            "transform=\"rotate(-90 %.2f %.2f)\">%s</text>\n",
            titleX, middle, titleX, middle, xmlText(panel.yTitleLines[line]).c_str());
  }
  for (const XTick& tick : xAxis.ticks) {
    if (!lowest || tick.label.empty()) {
      continue;
    }
    // A label that would leave the figure is held at its edge.
    const double half = textWidth(tick.label, kFont) / 2;
    const double x = std::min(std::max(left + tick.at, half + 1), frame.width - half - 1);
    appendf(svg, "<text x=\"%.2f\" y=\"%.2f\" text-anchor=\"middle\">%s</text>\n", x,
            bottom + kTickLength + 2 + kFont, xmlText(tick.label).c_str());
  }
  if (!panel.note.empty()) {
    appendf(svg, "<text x=\"%.2f\" y=\"%.2f\" text-anchor=\"middle\" fill=\"#555555\">%s</text>\n",
            left + frame.plotWidth / 2, panel.top + kFont * 1.5, xmlText(panel.note).c_str());
  }
}

// The series: levels as lines through their points, changes as steps over their intervals
// with a marker on each.
void drawSeries(std::string& svg, const SeriesTable& table, const Panel& panel, const XAxis& xAxis,
                const Frame& frame) {
  const double bottom = panel.top + panel.height;
  auto yAt = [&](double value) { return bottom - panel.height * panel.axis.fraction(value); };
  auto xAt = [&](double position) {
    return frame.left + xAxis.graphAt[static_cast<std::size_t>(position)];
  };
  const bool steps = panel.changes && !table.changesAgainstFirst;
  for (std::size_t s = 0; s < panel.columns.size(); ++s) {
    const std::size_t column = panel.columns[s];
    const std::vector<SeriesPoint>& points = panel.points[s];
    appendf(svg, "<g id=\"series-%s\">\n", xmlText(table.columns[column].series.name).c_str());
    std::string path;
    for (std::size_t i = 0; i < points.size(); ++i) {
      const SeriesPoint& point = points[i];
      const bool joined = i > 0 && points[i - 1].at == (steps ? point.from : point.at - 1);
      if (steps && joined) {
        appendf(path, "V%.2fH%.2f", yAt(point.value), xAt(point.at));
      } else if (steps) {
        appendf(path, "M%.2f,%.2fH%.2f", xAt(point.from), yAt(point.value), xAt(point.at));
      } else {
        appendf(path, "%s%.2f,%.2f", joined ? "L" : "M", xAt(point.at), yAt(point.value));
      }
    }
    if (!path.empty()) {
      appendf(svg, "<path d=\"%s\" %s/>\n", path.c_str(), strokeOf(column).c_str());
    }
    // A step's marker stands at its own place along the interval, so that steps of equal
    // height in several series still show every series' marker.
    const double along = static_cast<double>(s + 1) / static_cast<double>(panel.columns.size() + 1);
    for (const SeriesPoint& point : points) {
      drawMarker(svg, column, xAt(point.from) + (xAt(point.at) - xAt(point.from)) * along,
                 yAt(point.value));
    }
    svg += "</g>\n";
  }
}

}  // namespace

bool chooseFigureSeries(const std::vector<FigureSeries>& available, const FigureOptions& options,
                        std::vector<FigureSeries>& chosen, std::string& reason) {
  chosen.clear();
  if (options.widthInches < kSmallestWidth || options.heightInches < kSmallestHeight) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "a figure of %gx%g inches is too small for its text; --size takes at least "
                  "%gx%g",
                  options.widthInches, options.heightInches, kSmallestWidth, kSmallestHeight);
    reason = text;
    return false;
  }
  const std::vector<std::string>& names = options.figures;
  if (names.empty()) {
    for (const FigureSeries& series : available) {
      if (series.byDefault) {
        chosen.push_back(series);
      }
    }
    return true;
  }
  for (const std::string& name : names) {
    auto known = std::find_if(available.begin(), available.end(),
                              [&name](const FigureSeries& series) { return name == series.name; });
    if (known == available.end()) {
      std::string columns;
      for (const FigureSeries& series : available) {
        columns += (columns.empty() ? "" : ", ") + std::string(series.name);
      }
      reason = "unknown column `" + escaped(name.c_str()) + "' in --figures; it takes " + columns;
      return false;
    }
    for (const FigureSeries& already : chosen) {
      if (name == already.name) {
        reason = "column `" + escaped(name.c_str()) + "' twice in --figures";
        return false;
      }
    }
    chosen.push_back(*known);
  }
  return true;
}

void writeSeriesFigure(FILE* out, const SeriesTable& table, const FigureOptions& options) {
  const double width = options.widthInches * 72;
  const double height = options.heightInches * 72;
  const std::size_t count = table.labels.size();
  const XReading reading = xReadingOf(table, options);

  Panel levels;
  Panel changes;
  changes.changes = true;
  for (std::size_t c = 0; c < table.columns.size(); ++c) {
    (table.columns[c].series.kind == SeriesKind::kLevel ? levels : changes).columns.push_back(c);
  }
  levels.yTitle = options.logarithmic ? "count (log scale)" : "count";
  if (table.changesAgainstFirst) {
    // The first graph by its date where the axis is one of dates.
    changes.yTitle = "change since " + (count == 0      ? std::string()
                                        : reading.dated ? isoDate(table.dates[0])
                                                        : table.labels[0]);
  } else {
    changes.yTitle = reading.perYear ? "change per year" : "change per interval";
  }
  if (!table.changesAgainstFirst && count < 2) {
    changes.note = "one graph: no interval to draw";
  }
  std::vector<Panel*> panels;
  for (Panel* panel : {&levels, &changes}) {
    if (!panel->columns.empty()) {
      panels.push_back(panel);
    }
  }
  if (panels.empty()) {
    panels.push_back(&levels);
  }
  for (Panel* panel : panels) {
    placePoints(*panel, table, options.logarithmic && !panel->changes, reading.perYear);
  }

  // Horizontal layout: the y tick labels and titles decide the left margin, for both panels
  // alike; a y title longer than its panel is high takes two lines, and a line's room.
  double widestTick = 0;
  for (Panel* panel : panels) {
    const ValueAxis axis = panelAxis(*panel, options.logarithmic && !panel->changes, 6);
    for (const std::string& label : axis.labels) {
      widestTick = std::max(widestTick, textWidth(label, kFont));
    }
  }
  const double top = kMargin + (options.title.empty() ? 0 : kTitleFont + 6);
  Frame frame{width, 0, 0, 1};
  double panelHeight = 0;
  auto layOut = [&](std::size_t titleLines) {
    frame.titleLines = titleLines;
    frame.left =
        kMargin + static_cast<double>(titleLines) * kFont * 1.2 + 4 + widestTick + kTickLength + 3;
    frame.plotWidth = std::max(kFont, width - frame.left - kMargin - 6);
    // Vertical layout: the figure's title, then per panel its legend and plot, then the x
    // labels.
    double used = top;
    for (Panel* panel : panels) {
      panel->legendRows = legendRows(table, panel->columns, frame.plotWidth);
      used += static_cast<double>(panel->legendRows.size()) * kLegendRow + 4;
    }
    used += static_cast<double>(panels.size() - 1) * 8 + kTickLength + 3 + kFont + kMargin + 2;
    panelHeight = std::max(2 * kFont, (height - used) / static_cast<double>(panels.size()));
  };
  layOut(1);
  for (Panel* panel : panels) {
    panel->yTitleLines = {panel->yTitle};
    if (textWidth(panel->yTitle, kFont) > panelHeight) {
      panel->yTitleLines = twoLines(panel->yTitle);
    }
  }
  for (Panel* panel : panels) {
    if (panel->yTitleLines.size() == 2) {
      layOut(2);
      break;
    }
  }
  double y = top;
  for (Panel* panel : panels) {
    y += static_cast<double>(panel->legendRows.size()) * kLegendRow + 4;
    panel->top = y;
    panel->height = panelHeight;
    panel->axis = panelAxis(*panel, options.logarithmic && !panel->changes, ticksFor(panelHeight));
    y += panelHeight + 8;
  }

  XAxis xAxis;
  if (reading.time) {
    std::vector<std::int64_t> days;
    for (const GraphDate& date : table.dates) {
      days.push_back(date.days);
    }
    xAxis = timeAxis(days, frame.plotWidth, kFont);
  } else {
    // Dates that go backwards still name their graphs better than file names do.
    std::vector<std::string> labels = table.labels;
    for (std::size_t i = 0; reading.dated && i < count; ++i) {
      labels[i] = isoDate(table.dates[i]);
    }
    xAxis = positionAxis(labels, frame.plotWidth, kFont);
  }

  std::string svg;
  appendf(svg,
          "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
          "<svg xmlns=\"http://www.w3.org/2000/svg\" "
          "xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.1\" "
          "width=\"%gin\" height=\"%gin\" viewBox=\"0 0 %.2f %.2f\" "
          "font-family=\"DejaVu Sans, Arial, Helvetica, sans-serif\" font-size=\"%g\">\n",
          options.widthInches, options.heightInches, width, height, kFont);
  svg += "<defs>\n";
  for (std::size_t look = 0; look < kLookCount; ++look) {
    appendf(svg, "<path id=\"marker-%zu\" d=\"%s\"/>\n", look, kLooks[look].marker);
  }
  svg += "</defs>\n";
  appendf(svg, "<rect width=\"%.2f\" height=\"%.2f\" fill=\"#ffffff\"/>\n", width, height);
  if (!options.title.empty()) {
    appendf(svg, "<text x=\"%.2f\" y=\"%.2f\" text-anchor=\"middle\" font-size=\"%g\">%s</text>\n",
            frame.left + frame.plotWidth / 2, kMargin + kTitleFont, kTitleFont,
            xmlText(options.title).c_str());
  }
  for (std::size_t p = 0; p < panels.size(); ++p) {
    drawLegend(svg, table, *panels[p], frame);
    drawAxes(svg, *panels[p], xAxis, frame, p + 1 == panels.size());
    drawSeries(svg, table, *panels[p], xAxis, frame);
  }
  svg += "</svg>\n";
  std::fwrite(svg.data(), 1, svg.size(), out);
}
