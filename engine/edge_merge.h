#ifndef ENGINE_EDGE_MERGE_H_
#define ENGINE_EDGE_MERGE_H_

#include <cstdint>

#include "asgraph/as_graph.h"
#include "engine/cmd_line_parameters.h"
#include "engine/diff_type.h"
#include "engine/edge_class.h"
#include "engine/edge_conditions.h"
#include "engine/node_compare.h"

// The edge comparison of two graphs: one merge of their adjacencies, which counts the eighteen
// edge counters of diff (added to what they hold) and hands every edge that the --over: or
// --comp: formula lets through (its result differing from params.negate) to the sink:
// sink.add(e1, e2) for a common edge (e1 its view in the first graph, e2 in the second) and
// sink.add(e, nullptr) for an edge of one graph only. The views live in the walks and are only
// valid during the call. Several consumers share it, so that the graph built, the graph written
// and the counters printed always agree on which edges pass.
// diffGraph is the graph the edges go to, as the formulas take it; it is not walked.
template <class Sink>
void mergeEdges(cmdLineParameters& params, ASGraph& graph1, ASGraph& graph2, ASGraph& diffGraph,
                diff_type& diff, Sink& sink);

namespace edge_merge_steps {

using EdgeView = ASGraph::graph_edge;

inline void countClass(edge_class cls, std::uint32_t& peering, std::uint32_t& directed,
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

// The steps of the merge. Each counts the edge and passes it on when the formula lets it through.
template <class Sink>
struct EdgeMerge {
  cmdLineParameters& params;
  ASGraph& diffGraph;
  diff_type& diff;
  Sink& sink;

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
      // Both walks name the edge from its smaller key, so the directions compare as they are.
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
      sink.add(e1, e2);
    }
  }

  void addComplementary(EdgeView* e, bool first) {
    if (!params.compConditions.isEmpty() &&
        isCmpGraphEdge(e, diffGraph, params.compConditions, first) != params.negate) {
      sink.add(e, nullptr);
    }
  }
};

}  // namespace edge_merge_steps

template <class Sink>
void mergeEdges(cmdLineParameters& params, ASGraph& graph1, ASGraph& graph2, ASGraph& diffGraph,
                diff_type& diff, Sink& sink) {
  // Both walks go by (from, to) with every adjacency named from its smaller key, so one merge
  // pairs up the common edges. Walking the records in place rather than listing views keeps the
  // comparison from allocating anything per adjacency.
  ASGraph::EdgeWalk edges1(graph1);
  ASGraph::EdgeWalk edges2(graph2);
  edge_merge_steps::EdgeMerge<Sink> merge{params, diffGraph, diff, sink};
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

#endif  // ENGINE_EDGE_MERGE_H_
