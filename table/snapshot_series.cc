#include "table/snapshot_series.h"

#include <limits>
#include <string>

#include "fileio/path_name.h"

namespace {

// In the table's order, so that --figures lists them as the table has them.
const std::vector<FigureSeries> kSnapshotSeries = {
    {"ases", "ASes", SeriesKind::kLevel, true},
    {"ases_wide", "ASes above 65535", SeriesKind::kLevel, false},
    {"edges", "links", SeriesKind::kLevel, true},
    {"edges_peering", "peering links", SeriesKind::kLevel, false},
    {"edges_directed", "provider-customer links", SeriesKind::kLevel, false},
    {"edges_unoriented", "links of unknown type", SeriesKind::kLevel, false},
    {"days", "days", SeriesKind::kChange, false},
    {"ases_new", "new ASes", SeriesKind::kChange, false},
    {"ases_gone", "gone ASes", SeriesKind::kChange, false},
    {"edges_new", "new links", SeriesKind::kChange, true},
    {"edges_gone", "gone links", SeriesKind::kChange, true},
    {"edges_changed", "changed links", SeriesKind::kChange, true},
};

std::size_t numberIndex(const char* name) {
  for (std::size_t i = kSnapshotFirstNumber; i < kSnapshotColumnCount; ++i) {
    if (std::string(name) == kSnapshotColumns[i]) {
      return i - kSnapshotFirstNumber;
    }
  }
  return 0;  // not reached: every series above is a column of the table
}

}  // namespace

const std::vector<FigureSeries>& snapshotFigureSeries() { return kSnapshotSeries; }

SeriesTable snapshotSeriesTable(const std::vector<FigureSeries>& chosen,
                                const std::vector<SnapshotRow>& rows) {
  SeriesTable table;
  for (const SnapshotRow& row : rows) {
    table.labels.push_back(baseName(row.graph));
    table.dates.push_back(row.date);
  }
  for (const FigureSeries& series : chosen) {
    SeriesColumn column{series, {}};
    const std::size_t index = numberIndex(series.name);
    for (const SnapshotRow& row : rows) {
      column.values.push_back(row.known[index] ? static_cast<double>(row.values[index])
                                               : std::numeric_limits<double>::quiet_NaN());
    }
    table.columns.push_back(column);
  }
  return table;
}
