#ifndef TABLE_HISTORY_TABLE_H_
#define TABLE_HISTORY_TABLE_H_

#include <cstdio>

#include "table/table_options.h"

// `plandrex-table history`: one row per adjacency of any of the graphs, ascending by (as_1, as_2):
// when it was first and last seen, in how many graphs, how often it came back after an absence,
// and its relationship then and how often that changed. One graph is held at a time; besides it,
// memory grows by a small record per distinct adjacency, whatever the number of graphs. Returns
// the exit status after any failure has been written to err; on failure nothing is written.
int runHistoryTable(const TableOptions& options, bool progress, FILE* err);

#endif  // TABLE_HISTORY_TABLE_H_
