#include "engine/multi_diff_graph.h"

#include "engine/edge_class.h"

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

// Gives the copy of the adjacency held at the to node the history that the copy at the from node
// (records fromRecord and toRecord) now holds, with the two records exchanged.
void alignPartner(const ASEdgeWeight& fromRecord, const ASEdgeWeight& toRecord,
                  ASEdgeWeight& partnerTo, ASEdgeWeight& partnerFrom) {
  partnerTo.comparedGraphs = partnerFrom.comparedGraphs = fromRecord.comparedGraphs;
  partnerTo.incomingEdges = fromRecord.outgoingEdges;
  partnerTo.outgoingEdges = fromRecord.incomingEdges;
  partnerTo.undirectedEdges = fromRecord.undirectedEdges;
  partnerTo.unorientedEdges = fromRecord.unorientedEdges;
  partnerFrom.incomingEdges = toRecord.outgoingEdges;
  partnerFrom.outgoingEdges = toRecord.incomingEdges;
  partnerFrom.undirectedEdges = toRecord.undirectedEdges;
  partnerFrom.unorientedEdges = toRecord.unorientedEdges;
  partnerTo.srcOriented[0] = partnerFrom.srcOriented[0] = fromRecord.srcOriented[0];
  partnerTo.srcDirection[0] = reverse(fromRecord.srcDirection[0]);
  partnerFrom.srcDirection[0] = fromRecord.srcDirection[0];
  partnerTo.orientationRun = partnerFrom.orientationRun = fromRecord.orientationRun;
  partnerTo.orientationStability = partnerFrom.orientationStability =
      fromRecord.orientationStability;
  partnerTo.orientationChanges = partnerFrom.orientationChanges = fromRecord.orientationChanges;
}

void foldAppearance(ASGraph& multiGraph, const EdgeView* e) {
  const unsigned short fromKey = e->from->key;
  const unsigned short toKey = e->to->key;
  const bool oriented = e->fwdWeight->oriented;
  const edge_dir dir = *e->dir;

  EdgeView* stored = multiGraph.edgeProperties(fromKey, toKey);
  if (stored == nullptr) {
    multiGraph.addNode(fromKey, fromKey);
    multiGraph.addNode(toKey, toKey);
    // The defaults already start one appearance: compared once, a run of 1, no change yet.
    ASEdgeWeight fromRecord;
    ASEdgeWeight toRecord;
    fromRecord.srcOriented[0] = toRecord.srcOriented[0] = oriented;
    fromRecord.srcDirection[0] = dir;
    toRecord.srcDirection[0] = reverse(dir);
    countAppearance(oriented, dir, fromRecord, toRecord);
    multiGraph.addEdge(fromKey, toKey, dir_none, fromRecord, toRecord);
    return;
  }

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
  // A self-loop has a single stored copy: aligning it with itself would swap its incoming and
  // outgoing counts.
  if (fromKey != toKey) {
    EdgeView* partner = multiGraph.edgeProperties(toKey, fromKey);
    alignPartner(fromRecord, toRecord, *partner->fwdWeight, *partner->revWeight);
    ASGraph::freeView(partner);
  }
  ASGraph::freeView(stored);
}

}  // namespace

void graphCompare(ASGraph& multiGraph, ASGraph& input) {
  // The input's records are walked in place: no view per adjacency.
  for (ASGraph::EdgeWalk edges(input); !edges.atEnd(); edges.next()) {
    foldAppearance(multiGraph, edges.current());
  }
}

void updateMeans(ASGraph& multiGraph) {
  // The walk reaches the records in place; only their weights change on the way.
  for (ASGraph::EdgeWalk edges(multiGraph); !edges.atEnd(); edges.next()) {
    EdgeView* e = edges.current();
    ASEdgeWeight& fromRecord = *e->fwdWeight;
    ASEdgeWeight& toRecord = *e->revWeight;
    updateStability(fromRecord, toRecord);
    // The writer reads only the copy listed here, but the copy at the larger key must not be
    // left with a stability that disagrees with it.
    const unsigned short fromKey = e->from->key;
    const unsigned short toKey = e->to->key;
    if (fromKey != toKey) {
      EdgeView* partner = multiGraph.edgeProperties(toKey, fromKey);
      partner->fwdWeight->orientationStability = toRecord.orientationStability;
      partner->revWeight->orientationStability = fromRecord.orientationStability;
      ASGraph::freeView(partner);
    }
  }
}
