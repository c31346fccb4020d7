#include "table/series_plot.h"

#include <algorithm>
#include <cstddef>

#include "table/row_writer.h"

const SeriesLine kSeriesLines[5] = {
    {"nodes_2", "ASes (nodes_2)", "#1f77b4"},
    {"edges_2", "adjacencies (edges_2)", "#ff7f0e"},
    {"edges_only_1", "adjacencies gone (edges_only_1)", "#d62728"},
    {"edges_only_2", "new adjacencies (edges_only_2)", "#2ca02c"},
    {"edges_common_different", "relationship changed (edges_common_different)", "#9467bd"},
};

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 600;
constexpr int kLeft = 90;
constexpr int kRight = 30;
constexpr int kTop = 60;
constexpr int kBottom = 70;
constexpr int kFontSize = 12;
constexpr double kLegendDepth = 10 + 5 * 20 + 10 + 10;
// A generous width per character of a 12px sans-serif label, so that thinned labels never meet.
constexpr double kCharWidth = 7.5;
constexpr double kLabelGap = 12.0;

// Text for XML character data and attribute values: valid UTF-8, the markup characters as
// entities, and the control characters XML 1.0 forbids as U+FFFD.
std::string xmlText(const std::string& bytes) {
  const std::string valid = validUtf8(bytes.data(), bytes.size());
  std::string out;
  for (const char c : valid) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') {
          out += "\xEF\xBF\xBD";
        } else {
          out += c;
        }
    }
  }
  return out;
}

// Characters in a UTF-8 text: its bytes that do not continue a sequence.
std::size_t characters(const std::string& text) {
  std::size_t count = 0;
  for (const char c : text) {
    count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  }
  return count;
}

// A count as the y axis labels it: 1234567 as "1,234,567".
std::string grouped(std::uint64_t value) {
  std::string digits = std::to_string(value);
  for (std::size_t at = digits.size(); at > 3; at -= 3) {
    digits.insert(at - 3, ",");
  }
  return digits;
}

}  // namespace

std::uint64_t niceTickStep(std::uint64_t top, int targetTicks) {
  const std::uint64_t ticks = static_cast<std::uint64_t>(targetTicks);
  const std::uint64_t rough = std::max<std::uint64_t>(1, (top + ticks - 1) / ticks);
  std::uint64_t power = 1;
  while (power <= rough / 10) {
    power *= 10;
  }
  for (const std::uint64_t factor : {1, 2, 5}) {
    if (power * factor >= rough) {
      return power * factor;
    }
  }
  return power * 10;
}

void writeSeriesPlot(FILE* out, const std::string& title, const std::vector<SeriesPoint>& points) {
  const double plotWidth = kWidth - kLeft - kRight;
  const double plotHeight = kHeight - kTop - kBottom;
  std::uint64_t maximum = 0;
  for (const SeriesPoint& point : points) {
    for (const std::uint64_t value : point.values) {
      maximum = std::max(maximum, value);
    }
  }
  // Headroom above the highest point keeps the legend (its box ends kLegendDepth below the top
  // of the plot) clear of every line.
  const std::uint64_t reach = std::max<std::uint64_t>(maximum + maximum / 3, 1);
  const std::uint64_t step = niceTickStep(reach, 6);
  std::uint64_t top = (reach + step - 1) / step * step;
  while (static_cast<double>(maximum) * plotHeight >
         static_cast<double>(top) * (plotHeight - kLegendDepth)) {
    top += step;
  }
  const std::size_t count = points.size();
  std::vector<std::string> labels;
  std::size_t widest = 1;
  for (const SeriesPoint& point : points) {
    labels.push_back(xmlText(point.label));
    widest = std::max(widest, characters(validUtf8(point.label.data(), point.label.size())));
  }
  const double labelWidth = static_cast<double>(widest) * kCharWidth;
  // The outer points stand in by half a label, so that their labels stay inside the picture.
  const double inset = std::min(labelWidth / 2, plotWidth / 4);
  const double span = plotWidth - 2 * inset;
  // One point sits in the middle; more spread from edge to edge.
  auto xAt = [&](std::size_t i) {
    return count <= 1 ? kLeft + plotWidth / 2
                      : kLeft + inset + span * static_cast<double>(i) / static_cast<double>(count - 1);
  };
  auto yAt = [&](std::uint64_t value) {
    return kTop + plotHeight - plotHeight * static_cast<double>(value) / static_cast<double>(top);
  };

  std::fprintf(out,
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" "
               "viewBox=\"0 0 %d %d\" font-family=\"DejaVu Sans, Arial, sans-serif\" "
               "font-size=\"%d\">\n",
               kWidth, kHeight, kWidth, kHeight, kFontSize);
  std::fprintf(out, "<rect width=\"%d\" height=\"%d\" fill=\"#ffffff\"/>\n", kWidth, kHeight);
  std::fprintf(out, "<text x=\"%d\" y=\"30\" text-anchor=\"middle\" font-size=\"18\">%s</text>\n",
               kWidth / 2, xmlText(title).c_str());

  // Horizontal grid lines and y ticks.
  for (std::uint64_t value = 0; value <= top; value += step) {
    const double y = yAt(value);
    std::fprintf(out,
                 "<line x1=\"%d\" y1=\"%.1f\" x2=\"%d\" y2=\"%.1f\" stroke=\"#dddddd\"/>\n"
                 "<line x1=\"%d\" y1=\"%.1f\" x2=\"%d\" y2=\"%.1f\" stroke=\"#000000\"/>\n"
                 "<text x=\"%d\" y=\"%.1f\" text-anchor=\"end\">%s</text>\n",
                 kLeft, y, kWidth - kRight, y, kLeft - 5, y, kLeft, y, kLeft - 8, y + 4,
                 grouped(value).c_str());
  }
  // Axes.
  std::fprintf(out,
               "<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#000000\"/>\n"
               "<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#000000\"/>\n",
               kLeft, kTop, kLeft, kHeight - kBottom, kLeft, kHeight - kBottom, kWidth - kRight,
               kHeight - kBottom);
  std::fprintf(out,
               "<text x=\"%d\" y=\"%d\" text-anchor=\"middle\">later graph of each pair</text>\n"
               "<text x=\"20\" y=\"%d\" text-anchor=\"middle\" "
               "transform=\"rotate(-90 20 %d)\">count</text>\n",
               kLeft + static_cast<int>(plotWidth / 2), kHeight - 15, kTop + static_cast<int>(plotHeight / 2),
               kTop + static_cast<int>(plotHeight / 2));

  // x ticks and labels: every stride-th label, where stride keeps the widest one clear of the
  // next.
  const double spacing = count <= 1 ? plotWidth : span / static_cast<double>(count - 1);
  const double needed = labelWidth + kLabelGap;
  std::size_t stride = 1;
  while (static_cast<double>(stride) * spacing < needed && stride < count) {
    ++stride;
  }
  for (std::size_t i = 0; i < count; ++i) {
    const double x = xAt(i);
    std::fprintf(out, "<line x1=\"%.1f\" y1=\"%d\" x2=\"%.1f\" y2=\"%d\" stroke=\"#000000\"/>\n", x,
                 kHeight - kBottom, x, kHeight - kBottom + 5);
    if (i % stride == 0) {
      std::fprintf(out, "<text x=\"%.1f\" y=\"%d\" text-anchor=\"middle\">%s</text>\n", x,
                   kHeight - kBottom + 20, labels[i].c_str());
    }
  }

  // The lines, each with a marker per point so that a single pair shows too.
  for (std::size_t line = 0; line < 5; ++line) {
    const char* colour = kSeriesLines[line].colour;
    std::fprintf(out, "<polyline fill=\"none\" stroke=\"%s\" stroke-width=\"2\" points=\"", colour);
    for (std::size_t i = 0; i < count; ++i) {
      std::fprintf(out, "%s%.1f,%.1f", i == 0 ? "" : " ", xAt(i), yAt(points[i].values[line]));
    }
    std::fputs("\"/>\n", out);
    for (std::size_t i = 0; i < count; ++i) {
      std::fprintf(out, "<circle cx=\"%.1f\" cy=\"%.1f\" r=\"3\" fill=\"%s\"/>\n", xAt(i),
                   yAt(points[i].values[line]), colour);
    }
  }

  // Legend, top left inside the plot area, on a white box.
  const int legendX = kLeft + 15;
  const int legendY = kTop + 10;
  std::size_t longestLegend = 0;
  for (const SeriesLine& line : kSeriesLines) {
    longestLegend = std::max(longestLegend, std::string(line.legend).size());
  }
  std::fprintf(out,
               "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"#ffffff\" "
               "fill-opacity=\"0.85\" stroke=\"#999999\"/>\n",
               legendX, legendY, 58 + static_cast<int>(static_cast<double>(longestLegend) * kCharWidth),
               5 * 20 + 10);
  for (std::size_t line = 0; line < 5; ++line) {
    const int y = legendY + 20 + static_cast<int>(line) * 20;
    std::fprintf(out,
                 "<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"%s\" stroke-width=\"3\"/>\n"
                 "<text x=\"%d\" y=\"%d\">%s</text>\n",
                 legendX + 10, y - 4, legendX + 40, y - 4, kSeriesLines[line].colour, legendX + 48,
                 y, kSeriesLines[line].legend);
  }
  std::fputs("</svg>\n", out);
}
