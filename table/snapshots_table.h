#ifndef TABLE_SNAPSHOTS_TABLE_H_
#define TABLE_SNAPSHOTS_TABLE_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "table/graph_date.h"
#include "table/table_options.h"

// The columns of `plandrex-table snapshots`: the graph and its date, then numbers; those from
// kSnapshotFirstChange on compare a graph with the one before it and are empty in the first row.
inline constexpr const char* kSnapshotColumns[] = {
    "graph",      "date",          "ases",           "ases_wide",
    "edges",      "edges_peering", "edges_directed", "edges_unoriented",
    "days",       "ases_new",      "ases_gone",      "edges_new",
    "edges_gone", "edges_changed",
};
inline constexpr std::size_t kSnapshotColumnCount =
    sizeof kSnapshotColumns / sizeof kSnapshotColumns[0];
inline constexpr std::size_t kSnapshotFirstNumber = 2;
inline constexpr std::size_t kSnapshotFirstChange = 8;
inline constexpr std::size_t kSnapshotNumbers = kSnapshotColumnCount - kSnapshotFirstNumber;

// One row of the table: the numbers in kSnapshotColumns' order from kSnapshotFirstNumber on.
// known[i] is false where the cell is empty (the first row's changes, days without two dates).
struct SnapshotRow {
  std::string graph;
  GraphDate date;
  std::int64_t values[kSnapshotNumbers] = {};
  bool known[kSnapshotNumbers] = {};
};

// Reads every input once, holding at most two graphs, and gives one row per graph. Returns the
// exit status; on failure the progress display is gone and the message is on err.
int computeSnapshotRows(const TableOptions& options, bool progress, FILE* err,
                        std::vector<SnapshotRow>& rows);

// `plandrex-table snapshots`: the table, and with --plot the figure. Returns the exit status
// after any failure has been written to err; on failure nothing is written.
int runSnapshotsTable(const TableOptions& options, bool progress, FILE* err);

#endif  // TABLE_SNAPSHOTS_TABLE_H_
