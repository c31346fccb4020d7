#ifndef ENGINE_NODE_COMPARE_H_
#define ENGINE_NODE_COMPARE_H_

#include <cstdio>

#include "asgraph/as_graph.h"
#include "engine/cmd_line_parameters.h"
#include "engine/diff_type.h"
#include "engine/view_listing.h"

// Where a node of two graphs is found.
enum class NodeSide { kFirstOnly, kSecondOnly, kBoth };

// Hands every AS number of either graph once, in ascending order, to visit(as, side). Neither
// graph is changed.
template <class Visit>
void walkNodeUnion(ASGraph& graph1, ASGraph& graph2, Visit visit) {
  using NodeView = ASGraph::graph_node;
  List<NodeView*> nodes1;
  List<NodeView*> nodes2;
  takeListing(graph1.listNodes(), nodes1);
  takeListing(graph2.listNodes(), nodes2);
  while (!nodes1.isEmpty() || !nodes2.isEmpty()) {
    NodeView* view1 = nodes1.isEmpty() ? nullptr : nodes1.first();
    NodeView* view2 = nodes2.isEmpty() ? nullptr : nodes2.first();
    if (view2 == nullptr || (view1 != nullptr && view1->key < view2->key)) {
      visit(view1->key, NodeSide::kFirstOnly);
      ASGraph::freeView(nodes1.pop());
    } else if (view1 == nullptr || view2->key < view1->key) {
      visit(view2->key, NodeSide::kSecondOnly);
      ASGraph::freeView(nodes2.pop());
    } else {
      visit(view1->key, NodeSide::kBoth);
      ASGraph::freeView(nodes1.pop());
      ASGraph::freeView(nodes2.pop());
    }
  }
}

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
