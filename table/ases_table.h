#ifndef TABLE_ASES_TABLE_H_
#define TABLE_ASES_TABLE_H_

#include <cstdio>

#include "table/table_options.h"

// `plandrex-table ases`: per graph, one row per AS of the graph and per AS of the graph before it
// that is gone, ascending: its adjacencies by relationship seen from that AS, and against the
// graph before, its new and gone adjacencies. Each graph is read once; at most two are held.
// Returns the exit status after any failure has been written to err; on failure nothing is
// written.
int runAsesTable(const TableOptions& options, bool progress, FILE* err);

#endif  // TABLE_ASES_TABLE_H_
