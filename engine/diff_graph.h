#ifndef ENGINE_DIFF_GRAPH_H_
#define ENGINE_DIFF_GRAPH_H_

#include <cstdio>

#include "asgraph/as_graph.h"
#include "engine/cmd_line_parameters.h"
#include "engine/diff_type.h"

// Compares the edge sets of graph1 and graph2 (neither is changed) and overwrites the eighteen
// edge counters of diff. With an --over: formula, every common edge for which the formula's
// result differs from params.negate is added to diffGraph as an overlap edge; with a --comp:
// formula, every edge of one graph only that passes the same test is added as a complementary
// edge. Without a formula nothing is added. out is not written to.
void makeDiffGraph(FILE* out, cmdLineParameters& params, ASGraph& graph1, ASGraph& graph2,
                   ASGraph& diffGraph, diff_type& diff);

// Adds one edge and its endpoints to diffGraph. With e2 null, the complementary form of e1: its
// orientation, direction and covering values as in its source. Otherwise the overlap form of e1
// (first graph) and e2 (second graph, same from and to keys): an unoriented edge whose two-entry
// fields carry the facts of each graph. The views are only read; the caller frees them.
void addDiffGraphEdge(ASGraph::graph_edge* e1, ASGraph::graph_edge* e2, ASGraph& diffGraph);

// The two records addDiffGraphEdge stores for e1 and e2 (fromRecord at e1's from node, toRecord
// at its to node; both overwritten); returns the direction it stores, seen from the from node.
edge_dir diffGraphRecords(const ASGraph::graph_edge* e1, const ASGraph::graph_edge* e2,
                          ASEdgeWeight& fromRecord, ASEdgeWeight& toRecord);

#endif  // ENGINE_DIFF_GRAPH_H_
