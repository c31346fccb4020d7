#ifndef ENGINE_NODE_COMPARE_H_
#define ENGINE_NODE_COMPARE_H_

#include <cstdio>

#include "asgraph/as_graph.h"
#include "engine/cmd_line_parameters.h"
#include "engine/diff_type.h"

// Compares the node sets of two graphs, neither of which is changed, and overwrites the three
// node counters of diff. With params.listMode it writes every AS number of either graph once, in
// ascending order, to out: "< N" only in the first graph, "> N" only in the second, "| N" in
// both. Write errors are left on the stream for the caller to find.
void nodeCmp(FILE* out, cmdLineParameters& params, ASGraph& graph1, ASGraph& graph2,
             diff_type& diff);

// The order in which listEdges hands out adjacencies: by from key, then by to key. -1 when e1
// sorts first, 1 when e2 does, 0 when both views name the same (from, to) pair.
int lexOrder(ASGraph::graph_edge* e1, ASGraph::graph_edge* e2);

#endif  // ENGINE_NODE_COMPARE_H_
