#ifndef TABLE_SNAPSHOT_SERIES_H_
#define TABLE_SNAPSHOT_SERIES_H_

#include <string>
#include <vector>

#include "table/graph_date.h"
#include "table/series_figure.h"

// The snapshots table's numeric columns a figure can draw, with their words; the defaults are
// ASes and links, and new, gone and changed links.
const std::vector<FigureSeries>& snapshotFigureSeries();

// The figure of a snapshots table: per graph its label, date and numbers, the numbers in the
// order of kSnapshotColumns from kSnapshotFirstNumber on (the first graph's changes are not
// drawn).
SeriesTable snapshotSeriesTable(const std::vector<FigureSeries>& chosen,
                                const std::vector<std::string>& labels,
                                const std::vector<GraphDate>& dates,
                                const std::vector<std::vector<double>>& numbers);

#endif  // TABLE_SNAPSHOT_SERIES_H_
