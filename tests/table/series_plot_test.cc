#include "table/series_plot.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

namespace {

TEST(SeriesPlotTest, TickStepsAreRoundAndFewEnough) {
  for (std::uint64_t top = 1; top < 100000000000ULL; top = top * 3 + 7) {
    const std::uint64_t step = niceTickStep(top, 6);
    std::uint64_t mantissa = step;
    while (mantissa % 10 == 0) {
      mantissa /= 10;
    }
    EXPECT_TRUE(mantissa == 1 || mantissa == 2 || mantissa == 5) << top << " -> " << step;
    const std::uint64_t ticks = (top + step - 1) / step;
    EXPECT_GE(ticks, 1u) << top;
    EXPECT_LE(ticks, 6u) << top;
    if (step > 1) {
      EXPECT_GE(ticks, 2u) << top << " -> " << step;
    }
  }
}

std::string plotOf(const std::vector<SeriesPoint>& points) {
  char* data = nullptr;
  std::size_t size = 0;
  FILE* out = open_memstream(&data, &size);
  writeSeriesPlot(out, "title", points);
  std::fclose(out);
  std::string text(data, size);
  std::free(data);
  return text;
}

// Thinned x labels never overlap, whatever their number and length: the drawn labels' boxes
// (centred, a generous 7 pixels per character) keep clear of each other, and the first label
// is always drawn.
TEST(SeriesPlotTest, XLabelsNeverOverlap) {
  const std::regex label("<text x=\"([0-9.]+)\" y=\"550\" text-anchor=\"middle\">([^<]*)</text>");
  for (const std::size_t count : {1, 2, 6, 30, 200, 2000}) {
    for (const std::size_t length : {3, 21, 60}) {
      std::vector<SeriesPoint> points(count);
      for (std::size_t i = 0; i < count; ++i) {
        points[i].label = std::string(length - 1, 'x') + std::to_string(i % 10);
        for (std::size_t line = 0; line < 5; ++line) {
          points[i].values[line] = i * (line + 1);
        }
      }
      const std::string svg = plotOf(points);
      double lastRight = -1e9;
      std::size_t drawn = 0;
      for (auto it = std::sregex_iterator(svg.begin(), svg.end(), label);
           it != std::sregex_iterator(); ++it) {
        const double x = std::stod((*it)[1]);
        const double half = static_cast<double>((*it)[2].length()) * 7 / 2;
        EXPECT_GT(x - half, lastRight) << count << " labels of " << length;
        lastRight = x + half;
        ++drawn;
      }
      EXPECT_GE(drawn, 1u) << count << " labels of " << length;
    }
  }
}

}  // namespace
