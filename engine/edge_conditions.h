#ifndef ENGINE_EDGE_CONDITIONS_H_
#define ENGINE_EDGE_CONDITIONS_H_

#include "asgraph/as_graph.h"
#include "graph/list.h"

// Evaluators of the condition formulas of --over: and --comp:. A formula is a list of items, each
// the OR of its letters' bits (engine/condition_letters.h); it holds when every letter of at
// least one item holds for the edge. An empty list never holds. Both walk the list with its own
// cursor, which is left moved; neither looks at -n, which the caller applies.

// The --over: formula for an edge found in both graphs: e1 is its view in the first graph, e2 the
// view of the same (from, to) pair in the second. The graph being built is not used.
bool isDiffGraphEdge(ASGraph::graph_edge* e1, ASGraph::graph_edge* e2, ASGraph& diffGraph,
                     List<int>& conditions);

// The --comp: formula for an edge found in one graph only: e is its view there, and first tells
// whether that is the first graph. The graph being built is not used.
bool isCmpGraphEdge(ASGraph::graph_edge* e, ASGraph& diffGraph, List<int>& conditions, bool first);

#endif  // ENGINE_EDGE_CONDITIONS_H_
