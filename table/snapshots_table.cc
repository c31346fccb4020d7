#include "table/snapshots_table.h"

#include <memory>
#include <utility>

#include "asgraph/as_graph.h"
#include "cli/exit_status.h"
#include "cli/graph_input.h"
#include "engine/edge_class.h"
#include "engine/report_figures.h"
#include "table/row_writer.h"
#include "table/series_reader.h"
#include "table/snapshot_series.h"
#include "table/table_output.h"

namespace {

// Indices into SnapshotRow::values.
enum SnapshotValue : std::size_t {
  kAses,
  kAsesWide,
  kEdges,
  kPeering,
  kDirected,
  kUnoriented,
  kDays,
  kAsesNew,
  kAsesGone,
  kEdgesNew,
  kEdgesGone,
  kEdgesChanged,
};
static_assert(kEdgesChanged + 1 == kSnapshotNumbers, "one index per number column");

void setValue(SnapshotRow& row, SnapshotValue column, std::int64_t value) {
  row.values[column] = value;
  row.known[column] = true;
}

// The first graph has no comparison to count its kinds of adjacencies: one walk does.
void countKinds(const ASGraph& graph, SnapshotRow& row) {
  std::int64_t kinds[3] = {0, 0, 0};
  for (ASGraph::EdgeWalk walk(graph); !walk.atEnd(); walk.next()) {
    ++kinds[edgeClass(walk.current())];
  }
  setValue(row, kPeering, kinds[class_peering]);
  setValue(row, kDirected, kinds[class_directed]);
  setValue(row, kUnoriented, kinds[class_unoriented]);
}

std::vector<std::string> snapshotColumns() {
  return std::vector<std::string>(std::begin(kSnapshotColumns), std::end(kSnapshotColumns));
}

}  // namespace

int computeSnapshotRows(const TableOptions& options, bool progress, FILE* err,
                        std::vector<SnapshotRow>& rows) {
  SeriesReader reader(options, progress, err);
  auto earlier = std::make_unique<ASGraph>();
  auto later = std::make_unique<ASGraph>();
  for (std::size_t i = 0; i < reader.count(); ++i) {
    if (!reader.read(i, *later)) {
      return reader.fail();
    }
    SnapshotRow row;
    row.graph = options.inputs[i];
    row.date = options.dates[i];
    setValue(row, kAses, later->nodes());
    setValue(row, kAsesWide, static_cast<std::int64_t>(later->nodesAboveKeyTable()));
    setValue(row, kEdges, later->edges());
    if (i == 0) {
      countKinds(*later, row);
    } else {
      // The report's comparison counts the later graph's kinds on the way.
      const ComparisonFigures figures = compareForReport(*earlier, *later);
      const diff_type& counts = figures.counts;
      setValue(row, kPeering, counts.peering2nd);
      setValue(row, kDirected, counts.directed2nd);
      setValue(row, kUnoriented, counts.unoriented2nd);
      if (row.date.known && options.dates[i - 1].known) {
        setValue(row, kDays, row.date.days - options.dates[i - 1].days);
      }
      setValue(row, kAsesNew, counts.nodesOnlyIn2nd);
      setValue(row, kAsesGone, counts.nodesOnlyIn1st);
      setValue(row, kEdgesNew, counts.edgesOnlyIn2nd);
      setValue(row, kEdgesGone, counts.edgesOnlyIn1st);
      setValue(row, kEdgesChanged, counts.differentlyDirected);
    }
    rows.push_back(std::move(row));
    std::swap(earlier, later);
  }
  reader.done();
  return kExitSuccess;
}

int runSnapshotsTable(const TableOptions& options, bool progress, FILE* err) {
  // tableMain refused a figure that cannot be drawn before anything was opened.
  std::vector<FigureSeries> series;
  std::string unused;
  chooseFigureSeries(snapshotFigureSeries(), options.figure, series, unused);
  OutputFile table;
  OutputFile plot;
  const bool plotting = !options.figure.file.empty();
  if (!openTableAndFigure(table, plot, options, err)) {
    return kExitUnwritableOrInvalid;
  }
  std::vector<SnapshotRow> snapshots;
  const int status = computeSnapshotRows(options, progress, err, snapshots);
  if (status != kExitSuccess) {
    table.finish(false);
    plot.finish(false);
    return status;
  }
  RowWriter rows(table.stream(), options.format, snapshotColumns());
  rows.header();
  for (const SnapshotRow& row : snapshots) {
    rows.text(row.graph);
    writeDateCell(rows, row.date);
    for (std::size_t i = 0; i < kSnapshotNumbers; ++i) {
      if (row.known[i]) {
        rows.signedNumber(row.values[i]);
      } else {
        rows.empty();
      }
    }
    rows.endRow();
  }
  if (plotting) {
    writeSeriesFigure(plot.stream(), snapshotSeriesTable(series, snapshots), options.figure);
  }
  return finishTableAndFigure(table, rows, plot, options, err) ? kExitSuccess
                                                               : kExitUnwritableOrInvalid;
}
