#ifndef TABLE_NODE_TABLE_H_
#define TABLE_NODE_TABLE_H_

#include "asgraph/as_graph.h"
#include "table/row_writer.h"

// The columns of `plandrex-table nodes`.
inline const char* const kNodeTableColumns[] = {"as", "in"};

// One row per AS number of either graph, ascending: the number and where it is found ("first",
// "second" or "both"), as plandrex -l lists them.
void writeNodeRows(ASGraph& first, ASGraph& second, RowWriter& rows);

#endif  // TABLE_NODE_TABLE_H_
