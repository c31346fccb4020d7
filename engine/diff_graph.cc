#include "engine/diff_graph.h"

#include "engine/edge_class.h"
#include "engine/edge_merge.h"

namespace {

// Adds every edge the merge passes on to the graph being built.
struct GraphBuilding {
  ASGraph& diffGraph;
  void add(ASGraph::graph_edge* e1, ASGraph::graph_edge* e2) {
    addDiffGraphEdge(e1, e2, diffGraph);
  }
};

// Entry `slot` of both records takes the covering values that e's graph gives the edge.
void takeCovering(const ASGraph::graph_edge* e, int slot, ASEdgeWeight& fromRecord,
                  ASEdgeWeight& toRecord) {
  fromRecord.pathCovering[slot] = e->fwdWeight->pathCovering[0];
  fromRecord.ipCovering[slot] = e->fwdWeight->ipCovering[0];
  toRecord.pathCovering[slot] = e->revWeight->pathCovering[0];
  toRecord.ipCovering[slot] = e->revWeight->ipCovering[0];
}

}  // namespace

void makeDiffGraph(FILE* /*out*/, cmdLineParameters& params, ASGraph& graph1, ASGraph& graph2,
                   ASGraph& diffGraph, diff_type& diff) {
  diff.edgesOnlyIn1st = 0;
  diff.edgesOnlyIn2nd = 0;
  diff.commonEdges = 0;
  diff.peering1st = 0;
  diff.peering2nd = 0;
  diff.directed1st = 0;
  diff.directed2nd = 0;
  diff.unoriented1st = 0;
  diff.unoriented2nd = 0;
  diff.differentlyDirected = 0;
  diff.oppositelyDirected = 0;
  diff.consistentlyDirected = 0;
  diff.peeringOnlyIn1st = 0;
  diff.peeringOnlyIn2nd = 0;
  diff.directedOnlyIn1st = 0;
  diff.directedOnlyIn2nd = 0;
  diff.unorientedOnlyIn1st = 0;
  diff.unorientedOnlyIn2nd = 0;
  // The merge hands the output graph its adjacencies in ascending order.
  ASGraph::AscendingAdditions ascending(diffGraph);
  GraphBuilding building{diffGraph};
  mergeEdges(params, graph1, graph2, diffGraph, diff, building);
}

edge_dir diffGraphRecords(const ASGraph::graph_edge* e1, const ASGraph::graph_edge* e2,
                          ASEdgeWeight& fromRecord, ASEdgeWeight& toRecord) {
  fromRecord = ASEdgeWeight();
  toRecord = ASEdgeWeight();
  const ASEdgeWeight& fwd1 = *e1->fwdWeight;
  takeCovering(e1, 0, fromRecord, toRecord);

  if (e2 == nullptr) {
    fromRecord.oriented = toRecord.oriented = fwd1.oriented;
    return *e1->dir;
  }
  // Overlap: the edge itself is unoriented; what each graph said moves into entries 0 and 1.
  const ASEdgeWeight& fwd2 = *e2->fwdWeight;
  takeCovering(e2, 1, fromRecord, toRecord);
  fromRecord.srcOriented[0] = toRecord.srcOriented[0] = fwd1.oriented;
  fromRecord.srcOriented[1] = toRecord.srcOriented[1] = fwd2.oriented;
  fromRecord.srcDirection[0] = *e1->dir;
  toRecord.srcDirection[0] = reverse(*e1->dir);
  fromRecord.srcDirection[1] = *e2->dir;
  toRecord.srcDirection[1] = reverse(*e2->dir);
  fromRecord.comparedGraphs = toRecord.comparedGraphs = 2;
  countAppearance(fwd1.oriented, *e1->dir, fromRecord, toRecord);
  countAppearance(fwd2.oriented, *e2->dir, fromRecord, toRecord);
  return dir_none;
}

void addDiffGraphEdge(ASGraph::graph_edge* e1, ASGraph::graph_edge* e2, ASGraph& diffGraph) {
  const ASNumber fromKey = e1->from->key;
  const ASNumber toKey = e1->to->key;
  diffGraph.addNode(fromKey, fromKey);
  diffGraph.addNode(toKey, toKey);
  ASEdgeWeight fromRecord;
  ASEdgeWeight toRecord;
  const edge_dir dir = diffGraphRecords(e1, e2, fromRecord, toRecord);
  diffGraph.addEdge(fromKey, toKey, dir, fromRecord, toRecord);
}
