#ifndef PLANDREX_EDGE_CLASS_H_
#define PLANDREX_EDGE_CLASS_H_

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

#endif  // PLANDREX_EDGE_CLASS_H_
