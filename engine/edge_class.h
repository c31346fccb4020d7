#ifndef ENGINE_EDGE_CLASS_H_
#define ENGINE_EDGE_CLASS_H_

#include "asgraph/as_graph.h"

// The class of an adjacency in one graph. It is told by the oriented flag of the record seen from
// the view's from node and by the view's direction.
enum edge_class : unsigned char { class_unoriented, class_peering, class_directed };

inline edge_class edgeClass(const ASGraph::graph_edge* view) {
  if (!view->fwdWeight->oriented) {
    return class_unoriented;
  }
  return *view->dir == dir_none ? class_peering : class_directed;
}

// Counts one appearance of an adjacency, with its orientation flag and its direction seen from
// the from node, into the direction counters of the records seen from either end. A direction
// outside the three valid ones counts nowhere.
inline void countAppearance(bool oriented, edge_dir dir, ASEdgeWeight& fromRecord,
                            ASEdgeWeight& toRecord) {
  if (!oriented) {
    ++fromRecord.unorientedEdges;
    ++toRecord.unorientedEdges;
  } else if (dir == dir_none) {
    ++fromRecord.undirectedEdges;
    ++toRecord.undirectedEdges;
  } else if (dir == dir_backward) {
    ++fromRecord.incomingEdges;
    ++toRecord.outgoingEdges;
  } else if (dir == dir_forward) {
    ++fromRecord.outgoingEdges;
    ++toRecord.incomingEdges;
  }
}

#endif  // ENGINE_EDGE_CLASS_H_
