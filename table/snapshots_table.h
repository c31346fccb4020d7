#ifndef TABLE_SNAPSHOTS_TABLE_H_
#define TABLE_SNAPSHOTS_TABLE_H_

#include <cstddef>

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

#endif  // TABLE_SNAPSHOTS_TABLE_H_
