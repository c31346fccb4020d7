#ifndef TABLE_SERIES_PLOT_H_
#define TABLE_SERIES_PLOT_H_

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// One point of a report series: the later graph's label and its figures.
struct SeriesPoint {
  std::string label;
  std::uint64_t values[5];
};

// The figures a series plot draws, in SeriesPoint::values' order: their report names and the
// legend's words.
struct SeriesLine {
  const char* figure;
  const char* legend;
  const char* colour;
};
extern const SeriesLine kSeriesLines[5];

// Writes a self-contained SVG line chart (1000 x 600) of the points: x the labels, evenly
// spaced and thinned so that no two overlap, y the counts from 0 with round ticks; title, axes,
// legend. Labels and title are taken as bytes and written as valid UTF-8 XML text. Write errors
// are left on the stream.
void writeSeriesPlot(FILE* out, const std::string& title, const std::vector<SeriesPoint>& points);

// The tick step for an axis from 0 to top with about targetTicks ticks: 1, 2 or 5 times a power
// of ten.
std::uint64_t niceTickStep(std::uint64_t top, int targetTicks);

#endif  // TABLE_SERIES_PLOT_H_
