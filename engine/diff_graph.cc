#include "engine/diff_graph.h"

#include <cstdint>

#include "engine/edge_class.h"
#include "engine/edge_conditions.h"
#include "engine/node_compare.h"

namespace {

using EdgeView = ASGraph::graph_edge;

void countClass(edge_class cls, std::uint32_t& peering, std::uint32_t& directed,
                std::uint32_t& unoriented) {
  switch (cls) {
    case class_peering:
      ++peering;
      break;
    case class_directed:
      ++directed;
      break;
    case class_unoriented:
      ++unoriented;
      break;
  }
}

// The steps of the edge merge. Each counts the edge and adds it to the output graph when the
// option's formula lets it through. The views belong to the walks that show them.
struct EdgeMerge {
  cmdLineParameters& params;
  ASGraph& diffGraph;
  diff_type& diff;

  void onlyIn1st(EdgeView* e) {
    const edge_class cls = edgeClass(e);
    ++diff.edgesOnlyIn1st;
    countClass(cls, diff.peering1st, diff.directed1st, diff.unoriented1st);
    countClass(cls, diff.peeringOnlyIn1st, diff.directedOnlyIn1st, diff.unorientedOnlyIn1st);
    addComplementary(e, true);
  }

  void onlyIn2nd(EdgeView* e) {
    const edge_class cls = edgeClass(e);
    ++diff.edgesOnlyIn2nd;
    countClass(cls, diff.peering2nd, diff.directed2nd, diff.unoriented2nd);
    countClass(cls, diff.peeringOnlyIn2nd, diff.directedOnlyIn2nd, diff.unorientedOnlyIn2nd);
    addComplementary(e, false);
  }

  void common(EdgeView* e1, EdgeView* e2) {
    const edge_class class1 = edgeClass(e1);
    const edge_class class2 = edgeClass(e2);
    ++diff.commonEdges;
    countClass(class1, diff.peering1st, diff.directed1st, diff.unoriented1st);
    countClass(class2, diff.peering2nd, diff.directed2nd, diff.unoriented2nd);
    if (class1 != class_unoriented && class2 != class_unoriented) {
      // Both lists name the edge from its smaller key, so the directions compare as they are.
      const edge_dir dir1 = *e1->dir;
      const edge_dir dir2 = *e2->dir;
      if (dir1 != dir_none && dir1 == reverse(dir2)) {
        ++diff.oppositelyDirected;
      }
      if (dir1 != dir2) {
        ++diff.differentlyDirected;
      } else {
        ++diff.consistentlyDirected;
      }
    }
    if (!params.overConditions.isEmpty() &&
        isDiffGraphEdge(e1, e2, diffGraph, params.overConditions) != params.negate) {
      addDiffGraphEdge(e1, e2, diffGraph);
    }
  }

  void addComplementary(EdgeView* e, bool first) {
    if (!params.compConditions.isEmpty() &&
        isCmpGraphEdge(e, diffGraph, params.compConditions, first) != params.negate) {
      addDiffGraphEdge(e, nullptr, diffGraph);
    }
  }
};

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

  // Both walks go by (from, to) with every adjacency named from its smaller key, so one merge
  // pairs up the common edges. Walking the records in place rather than listing views keeps the
  // comparison from allocating anything per adjacency.
  ASGraph::EdgeWalk edges1(graph1);
  ASGraph::EdgeWalk edges2(graph2);
  // The output graph receives the adjacencies in that ascending order too.
  ASGraph::MirrorDeferral deferral(diffGraph);
  EdgeMerge merge{params, diffGraph, diff};
  while (!edges1.atEnd() && !edges2.atEnd()) {
    const int order = lexOrder(edges1.current(), edges2.current());
    if (order < 0) {
      merge.onlyIn1st(edges1.current());
      edges1.next();
    } else if (order > 0) {
      merge.onlyIn2nd(edges2.current());
      edges2.next();
    } else {
      merge.common(edges1.current(), edges2.current());
      edges1.next();
      edges2.next();
    }
  }
  for (; !edges1.atEnd(); edges1.next()) {
    merge.onlyIn1st(edges1.current());
  }
  for (; !edges2.atEnd(); edges2.next()) {
    merge.onlyIn2nd(edges2.current());
  }
}

void addDiffGraphEdge(ASGraph::graph_edge* e1, ASGraph::graph_edge* e2, ASGraph& diffGraph) {
  const unsigned short fromKey = e1->from->key;
  const unsigned short toKey = e1->to->key;
  diffGraph.addNode(fromKey, fromKey);
  diffGraph.addNode(toKey, toKey);

  ASEdgeWeight fromRecord;
  ASEdgeWeight toRecord;
  const ASEdgeWeight& fwd1 = *e1->fwdWeight;
  const ASEdgeWeight& rev1 = *e1->revWeight;
  fromRecord.pathCovering[0] = fwd1.pathCovering[0];
  fromRecord.ipCovering[0] = fwd1.ipCovering[0];
  toRecord.pathCovering[0] = rev1.pathCovering[0];
  toRecord.ipCovering[0] = rev1.ipCovering[0];

  edge_dir dir;
  if (e2 != nullptr) {
    // Overlap: the edge itself is unoriented; what each graph said moves into entries 0 and 1.
    const ASEdgeWeight& fwd2 = *e2->fwdWeight;
    const ASEdgeWeight& rev2 = *e2->revWeight;
    fromRecord.pathCovering[1] = fwd2.pathCovering[0];
    fromRecord.ipCovering[1] = fwd2.ipCovering[0];
    toRecord.pathCovering[1] = rev2.pathCovering[0];
    toRecord.ipCovering[1] = rev2.ipCovering[0];
    fromRecord.srcOriented[0] = toRecord.srcOriented[0] = fwd1.oriented;
    fromRecord.srcOriented[1] = toRecord.srcOriented[1] = fwd2.oriented;
    fromRecord.srcDirection[0] = *e1->dir;
    toRecord.srcDirection[0] = reverse(*e1->dir);
    fromRecord.srcDirection[1] = *e2->dir;
    toRecord.srcDirection[1] = reverse(*e2->dir);
    fromRecord.comparedGraphs = toRecord.comparedGraphs = 2;
    countAppearance(fwd1.oriented, *e1->dir, fromRecord, toRecord);
    countAppearance(fwd2.oriented, *e2->dir, fromRecord, toRecord);
    dir = dir_none;
  } else {
    fromRecord.oriented = toRecord.oriented = fwd1.oriented;
    dir = *e1->dir;
  }
  diffGraph.addEdge(fromKey, toKey, dir, fromRecord, toRecord);
}
