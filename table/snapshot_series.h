#ifndef TABLE_SNAPSHOT_SERIES_H_
#define TABLE_SNAPSHOT_SERIES_H_

#include <vector>

#include "table/series_figure.h"
#include "table/snapshots_table.h"

// The snapshots table's numeric columns a figure can draw, with their words; the defaults are
// ASes and links, and new, gone and changed links.
const std::vector<FigureSeries>& snapshotFigureSeries();

// The figure of a snapshots table: per row its graph's base name, date and the chosen numbers
// (an empty cell is not drawn).
SeriesTable snapshotSeriesTable(const std::vector<FigureSeries>& chosen,
                                const std::vector<SnapshotRow>& rows);

#endif  // TABLE_SNAPSHOT_SERIES_H_
