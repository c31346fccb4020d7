#ifndef TABLE_EDGE_TABLE_H_
#define TABLE_EDGE_TABLE_H_

#include <string>
#include <vector>

#include "asgraph/as_graph.h"
#include "table/row_writer.h"

// The columns of `plandrex-table edges` for a plain or a differential graph: every column of an
// edge line (plandrex-graph(5)) under its own name, then the relationships derived from each
// orientation flag and direction of the line.
std::vector<std::string> edgeTableColumns(bool differential);

// One row per adjacency of graph, in the order a graph file lists them: from the smaller AS
// number, ascending.
void writeEdgeRows(ASGraph& graph, RowWriter& rows);

// The relationship an orientation flag and a direction (seen from the smaller AS) stand for:
// "p2c" (the smaller AS is the provider), "c2p", "p2p" (peering) or "unknown" (unoriented).
const char* relationshipName(bool oriented, edge_dir direction);

#endif  // TABLE_EDGE_TABLE_H_
