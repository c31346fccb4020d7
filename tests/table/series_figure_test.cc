#include "table/series_figure.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "engine/report_figures.h"
#include "table/figure_ticks.h"
#include "table/figure_x_axis.h"
#include "table/report_series.h"
#include "table/snapshot_series.h"
#include "table/snapshots_table.h"
#include "table/svg_text.h"

namespace {

const FigureSeries kLevel{"ases", "ASes", SeriesKind::kLevel, true};
const FigureSeries kOtherLevel{"edges", "links", SeriesKind::kLevel, true};
const FigureSeries kChange{"edges_new", "new links", SeriesKind::kChange, true};
const FigureSeries kOtherChange{"edges_gone", "gone links", SeriesKind::kChange, false};

// The wide CAIDA series' dates: 6, 6, 4, 4.5 years and a month apart.
const std::vector<std::int64_t> kSeriesDays = {12418, 14610, 16801, 18262, 19905, 19935};

SeriesTable tableOf(const std::vector<GraphDate>& days,
                    const std::vector<std::vector<double>>& values,
                    const std::vector<FigureSeries>& series) {
  SeriesTable table;
  for (std::size_t i = 0; i < days.size(); ++i) {
    table.labels.push_back("graph-" + std::to_string(i) + ".zng");
  }
  table.dates = days;
  for (std::size_t c = 0; c < series.size(); ++c) {
    table.columns.push_back({series[c], values[c]});
  }
  return table;
}

std::vector<GraphDate> dated(const std::vector<std::int64_t>& days) {
  std::vector<GraphDate> dates;
  for (const std::int64_t day : days) {
    dates.push_back({true, day});
  }
  return dates;
}

std::string figureOf(const SeriesTable& table, const FigureOptions& options = FigureOptions()) {
  char* data = nullptr;
  std::size_t size = 0;
  FILE* out = open_memstream(&data, &size);
  writeSeriesFigure(out, table, options);
  std::fclose(out);
  std::string text(data, size);
  std::free(data);
  return text;
}

struct Point {
  double x;
  double y;
};

// The markers of one series, in drawing order.
std::vector<Point> markersOf(const std::string& svg, const std::string& column) {
  const std::size_t begin = svg.find("<g id=\"series-" + column + "\">");
  const std::size_t end = svg.find("</g>", begin);
  EXPECT_NE(begin, std::string::npos) << column;
  const std::string group = svg.substr(begin, end - begin);
  const std::regex use("<use [^>]*x=\"([-0-9.]+)\" y=\"([-0-9.]+)\"");
  std::vector<Point> points;
  for (auto it = std::sregex_iterator(group.begin(), group.end(), use);
       it != std::sregex_iterator(); ++it) {
    points.push_back({std::stod((*it)[1]), std::stod((*it)[2])});
  }
  return points;
}

// x positions of the level markers are proportional to the dates, and the marker of a change
// (the only one) stands in the middle of its interval: on the real series' dates and on random
// ones.
TEST(SeriesFigureTest, XIsProportionalToTheDates) {
  std::vector<std::vector<std::int64_t>> dateSets = {kSeriesDays};
  std::srand(7);
  for (int set = 0; set < 20; ++set) {
    std::vector<std::int64_t> days = {std::rand() % 40000};
    const int count = 2 + std::rand() % 12;
    const int spread = set % 2 == 0 ? 40 : 3000;
    while (static_cast<int>(days.size()) < count) {
      days.push_back(days.back() + 1 + std::rand() % spread);
    }
    dateSets.push_back(days);
  }
  for (const std::vector<std::int64_t>& days : dateSets) {
    std::vector<double> levels;
    std::vector<double> changes;
    for (std::size_t i = 0; i < days.size(); ++i) {
      levels.push_back(1000.0 * static_cast<double>(i + 1));
      changes.push_back(50.0 * static_cast<double>(i));
    }
    const std::string svg = figureOf(tableOf(dated(days), {levels, changes}, {kLevel, kChange}));
    const std::vector<Point> points = markersOf(svg, "ases");
    ASSERT_EQ(points.size(), days.size());
    const double scale =
        (points.back().x - points.front().x) / static_cast<double>(days.back() - days.front());
    for (std::size_t i = 0; i < days.size(); ++i) {
      EXPECT_NEAR(points[i].x - points[0].x, scale * static_cast<double>(days[i] - days[0]), 0.05)
          << "graph " << i << " of " << days.size();
    }
    const std::vector<Point> steps = markersOf(svg, "edges_new");
    ASSERT_EQ(steps.size(), days.size() - 1);
    for (std::size_t i = 0; i + 1 < days.size(); ++i) {
      EXPECT_NEAR(steps[i].x, (points[i].x + points[i + 1].x) / 2, 0.05);
    }
  }
}

// Per year, an interval twice as long with the same count stands half as high; --per-interval
// draws the counts as they are.
TEST(SeriesFigureTest, ChangesArePerYearWhenDated) {
  const SeriesTable table =
      tableOf(dated({0, 10, 375, 1105}), {{1, 2, 3, 4}, {0, 0, 100, 100}}, {kLevel, kChange});
  std::vector<Point> steps = markersOf(figureOf(table), "edges_new");
  ASSERT_EQ(steps.size(), 3u);
  const double zero = steps[0].y;
  EXPECT_NEAR((zero - steps[1].y) / (zero - steps[2].y), 2.0, 0.01);
  FigureOptions counts;
  counts.perInterval = true;
  steps = markersOf(figureOf(table, counts), "edges_new");
  EXPECT_NEAR(steps[1].y, steps[2].y, 0.01);
  EXPECT_NE(figureOf(table).find(">change per year<"), std::string::npos);
  EXPECT_NE(figureOf(table, counts).find(">change per interval<"), std::string::npos);
}

// Linear axes start at 0 and end at most one tick above the largest value, with labels that
// read exactly and differ from each other.
TEST(SeriesFigureTest, LinearAxesFitTheirValues) {
  for (double largest = 0.3; largest < 2e19; largest = largest * 2.7 + 0.1) {
    for (int ticks = 2; ticks <= 6; ++ticks) {
      const ValueAxis axis = linearAxis(0, largest, ticks);
      ASSERT_GE(axis.ticks.size(), 2u);
      const double step = axis.ticks[1] - axis.ticks[0];
      EXPECT_EQ(axis.ticks.front(), 0) << largest;
      EXPECT_EQ(axis.labels.front(), "0") << largest;
      EXPECT_GE(axis.high * (1 + 1e-9), largest) << largest;
      EXPECT_LT(axis.high, largest + step * (1 + 1e-9)) << largest;
      EXPECT_LE(axis.ticks.size(), static_cast<std::size_t>(ticks) + 1) << largest;
      for (std::size_t i = 1; i < axis.labels.size(); ++i) {
        EXPECT_NE(axis.labels[i], axis.labels[i - 1]) << largest;
      }
    }
  }
}

TEST(SeriesFigureTest, TickLabelsReadAsNumbers) {
  const struct {
    double value;
    double step;
    double magnitude;
    const char* label;
  } kCases[] = {
      {0, 100000, 500000, "0"},
      {2500, 500, 9000, "2,500"},
      {400000, 100000, 500000, "400k"},
      {1500000, 500000, 2000000, "1.5M"},
      {0.25, 0.05, 0.3, "0.25"},
      {2e18, 1e18, 1.8e19, "2E"},
      {-20000, 10000, 40000,
       "\xE2\x88\x92"
       "20k"},
      {12000, 2000, 9999, "12,000"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(tickLabel(c.value, c.step, c.magnitude), c.label) << c.value;
  }
}

// Tick labels along x never overlap and stay inside the figure, whatever the number of graphs,
// their names and the span of their dates; every text is at least 9 pt.
TEST(SeriesFigureTest, LabelsNeverOverlapAndTextIsLargeEnough) {
  const std::regex label(
      "<text x=\"([-0-9.]+)\" y=\"([-0-9.]+)\" text-anchor=\"middle\">([^<]*)</text>");
  const std::regex size("font-size=\"([0-9.]+)\"");
  for (const std::size_t count : {1, 2, 6, 30, 300}) {
    for (const std::int64_t gap : {0, 1, 20, 400, 3000}) {
      for (const bool withDates : {true, false}) {
        std::vector<GraphDate> days;
        std::vector<double> values;
        for (std::size_t i = 0; i < count; ++i) {
          days.push_back({withDates, static_cast<std::int64_t>(i) * gap});
          values.push_back(static_cast<double>(i * i));
        }
        SeriesTable table = tableOf(days, {values, values}, {kLevel, kChange});
        for (std::size_t i = 0; i < count; ++i) {
          table.labels[i] = std::string(i % 7 * 3, 'x') + std::to_string(i);
        }
        FigureOptions options;
        options.widthInches = gap % 2 == 0 ? 7 : 3.5;
        const std::string svg = figureOf(table, options);
        std::map<double, std::vector<std::pair<double, double>>> rows;
        for (auto it = std::sregex_iterator(svg.begin(), svg.end(), label);
             it != std::sregex_iterator(); ++it) {
          const double x = std::stod((*it)[1]);
          const double half = textWidth((*it)[3], 9) / 2;
          EXPECT_GE(x - half, 0) << (*it)[3];
          EXPECT_LE(x + half, options.widthInches * 72) << (*it)[3];
          rows[std::stod((*it)[2])].push_back({x - half, x + half});
        }
        for (auto& row : rows) {
          std::sort(row.second.begin(), row.second.end());
          for (std::size_t i = 1; i < row.second.size(); ++i) {
            EXPECT_GT(row.second[i].first, row.second[i - 1].second)
                << count << " graphs " << gap << " days apart";
          }
        }
        for (auto it = std::sregex_iterator(svg.begin(), svg.end(), size);
             it != std::sregex_iterator(); ++it) {
          EXPECT_GE(std::stod((*it)[1]), 9.0);
        }
        EXPECT_EQ(svg.find("nan"), std::string::npos);
        EXPECT_EQ(svg.find("inf"), std::string::npos);
      }
    }
  }
}

bool haveProgram(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// The edge cases render in real tools without a word on standard error: well-formed XML, a
// PNG and a PDF.
TEST(SeriesFigureTest, EdgeCasesRenderWithoutWarnings) {
  if (!haveProgram("xmllint") || !haveProgram("rsvg-convert")) {
    GTEST_SKIP() << "xmllint or rsvg-convert not installed (libxml2-utils, librsvg2-bin)";
  }
  FigureOptions log;
  log.logarithmic = true;
  log.title = "A <title> & more";
  FigureOptions small;
  small.widthInches = 2.5;
  small.heightInches = 2;
  const struct {
    const char* name;
    SeriesTable table;
    FigureOptions options;
  } kCases[] = {
      {"one graph", tableOf(dated({100}), {{5}, {0}}, {kLevel, kChange}), FigureOptions()},
      {"two graphs on one day", tableOf(dated({100, 100}), {{5, 6}, {0, 3}}, {kLevel, kChange}),
       FigureOptions()},
      {"all zero on a log scale",
       tableOf(dated({1, 2, 3}), {{0, 0, 0}, {0, 0, 0}}, {kLevel, kChange}), log},
      {"huge values", tableOf(dated({1, 400}), {{1.8e19, 1.8e19}, {0, 1.8e19}}, {kLevel, kChange}),
       log},
      {"undated", tableOf({GraphDate(), GraphDate()}, {{1, 2}, {0, 2}}, {kLevel, kChange}), small},
      {"dates going back",
       tableOf(dated({400, 100, 900}), {{1, 2, 3}, {0, 2, 2}, {0, 1, 1}},
               {kLevel, kChange, kOtherChange}),
       FigureOptions()},
      {"levels only",
       tableOf(dated(std::vector<std::int64_t>(kSeriesDays)),
               {{1, 2, 3, 4, 5, 6}, {6, 5, 4, 3, 2, 1}}, {kLevel, kOtherLevel}),
       small},
  };
  char pattern[] = "/tmp/series_figure_XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string dir = pattern;
  for (const auto& c : kCases) {
    { std::ofstream(dir + "/f.svg") << figureOf(c.table, c.options); }
    const std::string svg = dir + "/f.svg";
    const std::string err = dir + "/err.txt";
    for (const std::string& command :
         {"xmllint --noout " + svg, "rsvg-convert -o " + dir + "/f.png " + svg,
          "rsvg-convert -f pdf -o " + dir + "/f.pdf " + svg}) {
      EXPECT_EQ(std::system((command + " 2>" + err).c_str()), 0) << c.name << ": " << command;
      std::ifstream in(err);
      std::stringstream text;
      text << in.rdbuf();
      EXPECT_EQ(text.str(), "") << c.name << ": " << command;
    }
  }
  std::system(("rm -rf " + dir).c_str());
}

TEST(SeriesFigureTest, FiguresAreChosenByColumnName) {
  const std::vector<FigureSeries> available = {kLevel, kOtherLevel, kChange, kOtherChange};
  std::vector<FigureSeries> chosen;
  std::string reason;
  FigureOptions options;
  ASSERT_TRUE(chooseFigureSeries(available, options, chosen, reason));
  ASSERT_EQ(chosen.size(), 3u);
  EXPECT_STREQ(chosen[2].name, "edges_new");
  options.figures = {"edges_gone", "ases"};
  ASSERT_TRUE(chooseFigureSeries(available, options, chosen, reason));
  ASSERT_EQ(chosen.size(), 2u);
  EXPECT_STREQ(chosen[0].name, "edges_gone");
  options.figures = {"ases", "links\x1b"};
  EXPECT_FALSE(chooseFigureSeries(available, options, chosen, reason));
  EXPECT_EQ(reason,
            "unknown column `links\\x1b' in --figures; it takes ases, edges, edges_new, "
            "edges_gone");
  options.figures = {"ases", "ases"};
  EXPECT_FALSE(chooseFigureSeries(available, options, chosen, reason));
  EXPECT_EQ(reason, "column `ases' twice in --figures");
  options.figures.clear();
  options.widthInches = 2;
  EXPECT_FALSE(chooseFigureSeries(available, options, chosen, reason));
  EXPECT_EQ(reason,
            "a figure of 2x4.5 inches is too small for its text; --size takes at least 2.5x2");
}

// Every number a command writes can be drawn, under its own name, once: the lists the figures
// come from and the tables' columns cannot drift apart.
TEST(SeriesFigureTest, EveryNumericColumnIsDrawableOnce) {
  std::vector<std::string> reportNames;
  for (const ReportFigure& figure : kReportFigures) {
    reportNames.push_back(figure.name);
  }
  std::vector<std::string> snapshotNames(kSnapshotColumns + kSnapshotFirstNumber,
                                         kSnapshotColumns + kSnapshotColumnCount);
  for (const auto& [columns, series] : {std::make_pair(reportNames, reportFigureSeries()),
                                        std::make_pair(snapshotNames, snapshotFigureSeries())}) {
    std::vector<std::string> drawable;
    for (const FigureSeries& one : series) {
      drawable.push_back(one.name);
    }
    std::sort(drawable.begin(), drawable.end());
    std::vector<std::string> sorted = columns;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(drawable, sorted);
  }
}

// A report's rows give every graph's level, the first graph's from the first row's earlier
// graph whichever of the pair's names is drawn, and each row's change at its later graph.
TEST(SeriesFigureTest, ReportRowsGiveEveryGraphsLevel) {
  std::vector<ComparisonFigures> rows(2);
  rows[0].nodes1 = 10;
  rows[0].nodes2 = 20;
  rows[0].counts.edgesOnlyIn2nd = 5;
  rows[1].nodes1 = 20;
  rows[1].nodes2 = 30;
  rows[1].counts.edgesOnlyIn2nd = 7;
  std::vector<FigureSeries> chosen;
  std::string reason;
  FigureOptions options;
  options.figures = {"nodes_1", "nodes_2", "edges_only_2"};
  ASSERT_TRUE(chooseFigureSeries(reportFigureSeries(), options, chosen, reason));
  const SeriesTable table =
      reportSeriesTable(chosen, rows, {"a", "b", "c"}, std::vector<GraphDate>(3), true);
  ASSERT_EQ(table.columns.size(), 3u);
  EXPECT_EQ(table.columns[0].values, (std::vector<double>{10, 20, 30}));
  EXPECT_EQ(table.columns[1].values, (std::vector<double>{10, 20, 30}));
  EXPECT_EQ(table.columns[2].values, (std::vector<double>{0, 5, 7}));
  EXPECT_TRUE(table.changesAgainstFirst);
}

// A dated axis is ticked at whole years over years, at months over months and at the graphs'
// own dates over days; every labelled tick stands where its date does.
TEST(SeriesFigureTest, TimeTicksFollowTheSpan) {
  const struct {
    std::vector<std::int64_t> days;
    const char* pattern;
  } kCases[] = {
      {kSeriesDays, "^(20[0-9][02468])$"},              // 2004 to 2024: every second year
      {{19723, 19800, 19905}, "^2024-0[1-7]$"},         // January to July 2024
      {{19723, 19725, 19730}, "^2024-01-(01|03|08)$"},  // a week
      {{19723, 19723}, "^2024-01-01$"},                 // one day
  };
  for (const auto& c : kCases) {
    const XAxis axis = timeAxis(c.days, 430, 9);
    const double perDay =
        c.days.back() > c.days.front()
            ? (axis.graphAt.back() - axis.graphAt.front()) / (c.days.back() - c.days.front())
            : 0;
    std::size_t labelled = 0;
    for (const XTick& tick : axis.ticks) {
      if (tick.label.empty()) {
        continue;
      }
      ++labelled;
      EXPECT_TRUE(std::regex_match(tick.label, std::regex(c.pattern))) << tick.label;
      GraphDate date;
      const std::string iso = tick.label.size() == 4   ? tick.label + "-01-01"
                              : tick.label.size() == 7 ? tick.label + "-01"
                                                       : tick.label;
      ASSERT_TRUE(parseIsoDate(iso, date)) << iso;
      if (perDay > 0) {
        EXPECT_NEAR(tick.at - axis.graphAt[0], perDay * (date.days - c.days[0]), 0.01) << iso;
      }
    }
    EXPECT_GE(labelled, 1u) << c.pattern;
  }
}

}  // namespace
