#ifndef TABLE_SERIES_FIGURE_H_
#define TABLE_SERIES_FIGURE_H_

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

// What a column's numbers are: the level of something at each graph (ASes, links), or a change
// over the interval from the graph before to this one (new links).
enum class SeriesKind { kLevel, kChange };

// A column of a table that a figure can draw: its name in the table, the words its legend
// says, its kind, and whether a figure draws it when --figures does not choose.
struct FigureSeries {
  const char* name;
  const char* words;
  SeriesKind kind;
  bool byDefault;
};

// A drawn column: one value per graph; a change's first value is not drawn (no interval ends
// at the first graph) unless the changes are against the first graph.
struct SeriesColumn {
  FigureSeries series;
  std::vector<double> values;
};

// What a series figure draws: per graph its label (the base name) and its date (days since
// 1970-01-01), if any; and the chosen columns, in the order the legend lists them.
struct SeriesTable {
  std::vector<std::string> labels;
  std::vector<std::optional<std::int64_t>> days;
  // The changes compare each graph with the first one (report --base), not with the one before.
  bool changesAgainstFirst = false;
  std::vector<SeriesColumn> columns;
};

// How the figure is drawn, from the command line.
struct FigureOptions {
  std::vector<std::string> figures;  // column names; empty: the defaults
  bool logLevels = false;            // a logarithmic axis for the levels
  bool perInterval = false;          // changes as counts, not per year
  std::string title;                 // empty: none
  double widthInches = 7;
  double heightInches = 4.5;
};

// The columns to draw: those named (in that order), or every default one. false: a name is not
// one of available's or is named twice, and reason says so.
bool chooseFigureSeries(const std::vector<FigureSeries>& available,
                        const std::vector<std::string>& names, std::vector<FigureSeries>& chosen,
                        std::string& reason);

// Writes the table as a self-contained SVG figure of the chosen size: levels in the top panel,
// changes in the bottom panel as steps over their intervals (per year when every graph is
// dated, unless perInterval), x proportional to the dates when every graph has one in
// ascending order and the graphs' order otherwise. Write errors are left on the stream.
void writeSeriesFigure(FILE* out, const SeriesTable& table, const FigureOptions& options);

#endif  // TABLE_SERIES_FIGURE_H_
