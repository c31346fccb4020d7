#include "engine/node_compare.h"

#include "engine/view_listing.h"

namespace {

using NodeView = ASGraph::graph_node;

// Counts one node found in one graph only, prints it in list mode and frees its view.
void takeNodeOnlyIn(FILE* out, bool listMode, const char* line, NodeView* view,
                    std::uint32_t& counter) {
  ++counter;
  if (listMode) {
    fprintf(out, line, static_cast<unsigned>(view->key));
  }
  ASGraph::freeView(view);
}

}  // namespace

void nodeCmp(FILE* out, cmdLineParameters& params, ASGraph& graph1, ASGraph& graph2,
             diff_type& diff) {
  diff.nodesOnlyIn1st = 0;
  diff.nodesOnlyIn2nd = 0;
  diff.commonNodes = 0;
  const bool listMode = params.listMode;

  List<NodeView*> nodes1;
  List<NodeView*> nodes2;
  takeListing(graph1.listNodes(), nodes1);
  takeListing(graph2.listNodes(), nodes2);

  while (!nodes1.isEmpty() && !nodes2.isEmpty()) {
    const ASNumber key1 = nodes1.first()->key;
    const ASNumber key2 = nodes2.first()->key;
    if (key1 < key2) {
      takeNodeOnlyIn(out, listMode, "< %u\n", nodes1.pop(), diff.nodesOnlyIn1st);
    } else if (key1 > key2) {
      takeNodeOnlyIn(out, listMode, "> %u\n", nodes2.pop(), diff.nodesOnlyIn2nd);
    } else {
      ++diff.commonNodes;
      if (listMode) {
        fprintf(out, "| %u\n", static_cast<unsigned>(key1));
      }
      ASGraph::freeView(nodes1.pop());
      ASGraph::freeView(nodes2.pop());
    }
  }
  while (!nodes1.isEmpty()) {
    takeNodeOnlyIn(out, listMode, "< %u\n", nodes1.pop(), diff.nodesOnlyIn1st);
  }
  while (!nodes2.isEmpty()) {
    takeNodeOnlyIn(out, listMode, "> %u\n", nodes2.pop(), diff.nodesOnlyIn2nd);
  }
}

int lexOrder(ASGraph::graph_edge* e1, ASGraph::graph_edge* e2) {
  const ASNumber from1 = e1->from->key;
  const ASNumber from2 = e2->from->key;
  if (from1 != from2) {
    return from1 < from2 ? -1 : 1;
  }
  const ASNumber to1 = e1->to->key;
  const ASNumber to2 = e2->to->key;
  if (to1 != to2) {
    return to1 < to2 ? -1 : 1;
  }
  return 0;
}
