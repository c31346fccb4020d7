#include "engine/multi_diff_graph.h"

#include <vector>

#include "engine/edge_class.h"
#include "engine/node_compare.h"

namespace {

using EdgeView = ASGraph::graph_edge;

// Adds one run, of length orientationRun, to the mean of the orientationChanges runs before it.
// The mean is kept in a float, so it is worked out in a wider type and rounded only once.
void updateStability(ASEdgeWeight& fromRecord, ASEdgeWeight& toRecord) {
  const long double runs = fromRecord.orientationChanges;
  const long double mean = fromRecord.orientationStability;
  const long double run = fromRecord.orientationRun;
  const long double stability = runs == 0 ? run : (runs * mean + run) / (runs + 1);
  fromRecord.orientationStability = toRecord.orientationStability = static_cast<float>(stability);
}

// An adjacency of the input that the multi-differential graph does not hold yet.
struct NewAdjacency {
  ASNumber fromKey;
  ASNumber toKey;
  edge_dir dir;
  bool oriented;
};

void addAppearance(ASGraph& multiGraph, const NewAdjacency& seen) {
  multiGraph.addNode(seen.fromKey, seen.fromKey);
  multiGraph.addNode(seen.toKey, seen.toKey);
  // The defaults already start one appearance: compared once, a run of 1, no change yet.
  ASEdgeWeight fromRecord;
  ASEdgeWeight toRecord;
  fromRecord.srcOriented[0] = toRecord.srcOriented[0] = seen.oriented;
  fromRecord.srcDirection[0] = seen.dir;
  toRecord.srcDirection[0] = reverse(seen.dir);
  countAppearance(seen.oriented, seen.dir, fromRecord, toRecord);
  multiGraph.addEdge(seen.fromKey, seen.toKey, dir_none, fromRecord, toRecord);
}

// One more appearance of an adjacency the multi-differential graph holds (stored) in the input
// (e), recorded in the stored adjacency's view.
void foldAppearance(const EdgeView* stored, const EdgeView* e) {
  const bool oriented = e->fwdWeight->oriented;
  const edge_dir dir = *e->dir;
  ASEdgeWeight& fromRecord = *stored->fwdWeight;
  ASEdgeWeight& toRecord = *stored->revWeight;
  ++fromRecord.comparedGraphs;
  ++toRecord.comparedGraphs;
  countAppearance(oriented, dir, fromRecord, toRecord);
  if (dir == fromRecord.srcDirection[0] && oriented == fromRecord.srcOriented[0]) {
    ++fromRecord.orientationRun;
    ++toRecord.orientationRun;
  } else {
    fromRecord.srcDirection[0] = dir;
    toRecord.srcDirection[0] = reverse(dir);
    fromRecord.srcOriented[0] = toRecord.srcOriented[0] = oriented;
    // The run that just ended joins the mean before the new run starts.
    updateStability(fromRecord, toRecord);
    fromRecord.orientationRun = toRecord.orientationRun = 1;
    ++fromRecord.orientationChanges;
    ++toRecord.orientationChanges;
  }
}

}  // namespace

// Both graphs are walked side by side, as the comparison of two graphs does: the walks name
// every adjacency from its smaller key in ascending order, so one merge finds each input
// adjacency's stored one without a search. Adjacencies new to the graph are added after the
// walk, which must not see the graph change, in the same ascending order.
void graphCompare(ASGraph& multiGraph, ASGraph& input) {
  std::vector<NewAdjacency> added;
  {
    ASGraph::EdgeUpdate stored(multiGraph);
    // The input's records are walked in place: no view per adjacency.
    for (ASGraph::EdgeWalk edges(input); !edges.atEnd(); edges.next()) {
      EdgeView* e = edges.current();
      int order = 1;
      while (!stored.atEnd() && (order = lexOrder(stored.current(), e)) < 0) {
        stored.next();
      }
      if (!stored.atEnd() && order == 0) {
        foldAppearance(stored.current(), e);
        stored.next();
      } else {
        added.push_back(NewAdjacency{e->from->key, e->to->key, *e->dir, e->fwdWeight->oriented});
      }
    }
  }
  ASGraph::AscendingAdditions ascending(multiGraph);
  for (const NewAdjacency& seen : added) {
    addAppearance(multiGraph, seen);
  }
}

void updateMeans(ASGraph& multiGraph) {
  // The walk reaches the records in place; only their weights change on the way.
  for (ASGraph::EdgeUpdate edges(multiGraph); !edges.atEnd(); edges.next()) {
    EdgeView* e = edges.current();
    ASEdgeWeight& fromRecord = *e->fwdWeight;
    ASEdgeWeight& toRecord = *e->revWeight;
    updateStability(fromRecord, toRecord);
  }
}
