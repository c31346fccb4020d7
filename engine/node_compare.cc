#include "engine/node_compare.h"

void nodeCmp(FILE* out, cmdLineParameters& params, ASGraph& graph1, ASGraph& graph2,
            diff_type& diff) {
  diff.nodesOnlyIn1st = 0;
  diff.nodesOnlyIn2nd = 0;
  diff.commonNodes = 0;
  const bool listMode = params.listMode;
  walkNodeUnion(graph1, graph2, [&](auto as, NodeSide side) {
    static const char* const kListLines[] = {"< %u\n", "> %u\n", "| %u\n"};
    std::uint32_t* const counters[] = {&diff.nodesOnlyIn1st, &diff.nodesOnlyIn2nd,
                                       &diff.commonNodes};
    const int index = static_cast<int>(side);
    ++*counters[index];
    if (listMode) {
      fprintf(out, kListLines[index], static_cast<unsigned>(as));
    }
  });
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
