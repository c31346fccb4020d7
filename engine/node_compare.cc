#include "engine/node_compare.h"

#include "engine/view_listing.h"

namespace {

using NodeView = ASGraph::graph_node;

// Counts one node found in one graph only, prints it in list mode and frees its view.
void takeNodeOnlyIn(FILE* out, bool listMode, const char* line, NodeView* view,
                    std::uint32_t& counter) {
  ++counter;
  if (listMode) {
    fprintf(out, line, static_cast<int>(view->key));
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
    const unsigned short key1 = nodes1.first()->key;
    const unsigned short key2 = nodes2.first()->key;
    if (key1 < key2) {
      takeNodeOnlyIn(out, listMode, "< %i\n", nodes1.pop(), diff.nodesOnlyIn1st);
    } else if (key1 > key2) {
      takeNodeOnlyIn(out, listMode, "> %i\n", nodes2.pop(), diff.nodesOnlyIn2nd);
    } else {
      ++diff.commonNodes;
      if (listMode) {
        fprintf(out, "| %i\n", static_cast<int>(key1));
      }
      ASGraph::freeView(nodes1.pop());
      ASGraph::freeView(nodes2.pop());
    }
  }
  while (!nodes1.isEmpty()) {
    takeNodeOnlyIn(out, listMode, "< %i\n", nodes1.pop(), diff.nodesOnlyIn1st);
  }
  while (!nodes2.isEmpty()) {
    takeNodeOnlyIn(out, listMode, "> %i\n", nodes2.pop(), diff.nodesOnlyIn2nd);
  }
}

int lexOrder(ASGraph::graph_edge* e1, ASGraph::graph_edge* e2) {
  const unsigned short from1 = e1->from->key;
  const unsigned short from2 = e2->from->key;
  if (from1 != from2) {
    return from1 < from2 ? -1 : 1;
  }
  const unsigned short to1 = e1->to->key;
  const unsigned short to2 = e2->to->key;
  if (to1 != to2) {
    return to1 < to2 ? -1 : 1;
  }
  return 0;
}
