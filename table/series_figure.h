#ifndef TABLE_SERIES_FIGURE_H_
#define TABLE_SERIES_FIGURE_H_

#include <cstdio>
#include <string>
#include <vector>

#include "table/figure_options.h"
#include "table/graph_date.h"

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

// A drawn column: one value per graph, NaN where the table's cell is empty; a change's first
// value is not drawn (no interval ends at the first graph) unless the changes are against the
// first graph.
struct SeriesColumn {
  FigureSeries series;
  std::vector<double> values;
};

// What a series figure draws: per graph its label (the base name) and its date, if any; and the
// chosen columns, in the order the legend lists them.
struct SeriesTable {
  std::vector<std::string> labels;
  std::vector<GraphDate> dates;
  // The changes compare each graph with the first one (report --base), not with the one before.
  bool changesAgainstFirst = false;
  std::vector<SeriesColumn> columns;
};

// The columns to draw: those options names (in that order), or every default one. false: a
// name is not one of available's or is named twice, or the figure is too small for its text,
// and reason says so.
bool chooseFigureSeries(const std::vector<FigureSeries>& available, const FigureOptions& options,
                        std::vector<FigureSeries>& chosen, std::string& reason);

// Writes the table as a self-contained SVG figure of the chosen size: levels in the top panel,
// changes in the bottom panel as steps over their intervals (per year when every graph is
// dated, unless perInterval), x proportional to the dates when every graph has one in
// ascending order and the graphs' order otherwise. Write errors are left on the stream.
void writeSeriesFigure(FILE* out, const SeriesTable& table, const FigureOptions& options);

#endif  // TABLE_SERIES_FIGURE_H_
