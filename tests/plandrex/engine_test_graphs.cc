#include "tests/plandrex/engine_test_graphs.h"

#include <gtest/gtest.h>

int addAdjacency(ASGraph& graph, unsigned short from, unsigned short to, EdgeState state,
                 ASEdgeWeight fromRecord, ASEdgeWeight toRecord) {
  graph.addNode(from, from);
  graph.addNode(to, to);
  fromRecord.oriented = toRecord.oriented = state.oriented;
  return graph.addEdge(from, to, state.dir, fromRecord, toRecord);
}

List<int> formula(const std::string& text, int (*letterBit)(char)) {
  List<int> items;
  int mask = 0;
  for (char c : text) {
    if (c == ',') {
      items.enqueue(mask);
      mask = 0;
    } else {
      mask |= letterBit(c);
    }
  }
  items.enqueue(mask);
  return items;
}

void resetParams(cmdLineParameters& params) {
  params.listMode = params.negate = params.buildGraph = false;
  params.multiMode = params.force = params.help = false;
}

std::uint32_t diff_type::*const kDiffCounters[21] = {
    &diff_type::nodesOnlyIn1st,       &diff_type::nodesOnlyIn2nd,
    &diff_type::commonNodes,          &diff_type::edgesOnlyIn1st,
    &diff_type::edgesOnlyIn2nd,       &diff_type::commonEdges,
    &diff_type::peering1st,           &diff_type::peering2nd,
    &diff_type::directed1st,          &diff_type::directed2nd,
    &diff_type::unoriented1st,        &diff_type::unoriented2nd,
    &diff_type::differentlyDirected,  &diff_type::oppositelyDirected,
    &diff_type::consistentlyDirected, &diff_type::peeringOnlyIn1st,
    &diff_type::peeringOnlyIn2nd,     &diff_type::directedOnlyIn1st,
    &diff_type::directedOnlyIn2nd,    &diff_type::unorientedOnlyIn1st,
    &diff_type::unorientedOnlyIn2nd,
};

const char* const kDiffCounterNames[21] = {
    "nodesOnlyIn1st",      "nodesOnlyIn2nd",     "commonNodes",          "edgesOnlyIn1st",
    "edgesOnlyIn2nd",      "commonEdges",        "peering1st",           "peering2nd",
    "directed1st",         "directed2nd",        "unoriented1st",        "unoriented2nd",
    "differentlyDirected", "oppositelyDirected", "consistentlyDirected", "peeringOnlyIn1st",
    "peeringOnlyIn2nd",    "directedOnlyIn1st",  "directedOnlyIn2nd",    "unorientedOnlyIn1st",
    "unorientedOnlyIn2nd",
};

diff_type filledDiff(std::uint32_t value) {
  diff_type diff;
  for (auto counter : kDiffCounters) {
    diff.*counter = value;
  }
  return diff;
}

void expectSameDiff(const diff_type& expected, const diff_type& actual) {
  for (int i = 0; i < 21; ++i) {
    EXPECT_EQ(expected.*kDiffCounters[i], actual.*kDiffCounters[i]) << kDiffCounterNames[i];
  }
}

void expectSameRecord(const ASEdgeWeight& expected, const ASEdgeWeight& actual) {
  EXPECT_EQ(expected.oriented, actual.oriented);
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(expected.pathCovering[i], actual.pathCovering[i]);
    EXPECT_EQ(expected.ipCovering[i], actual.ipCovering[i]);
    EXPECT_EQ(expected.srcOriented[i], actual.srcOriented[i]);
    EXPECT_EQ(expected.srcDirection[i], actual.srcDirection[i]);
  }
  EXPECT_TRUE(expected.prefix == actual.prefix);
  EXPECT_EQ(expected.comparedGraphs, actual.comparedGraphs);
  EXPECT_EQ(expected.incomingEdges, actual.incomingEdges);
  EXPECT_EQ(expected.outgoingEdges, actual.outgoingEdges);
  EXPECT_EQ(expected.undirectedEdges, actual.undirectedEdges);
  EXPECT_EQ(expected.unorientedEdges, actual.unorientedEdges);
  EXPECT_EQ(expected.orientationRun, actual.orientationRun);
  EXPECT_EQ(expected.orientationStability, actual.orientationStability);
  EXPECT_EQ(expected.orientationChanges, actual.orientationChanges);
}

void expectPartnerRecords(const ASEdgeWeight& a, const ASEdgeWeight& b) {
  EXPECT_EQ(a.oriented, b.oriented);
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(a.srcOriented[i], b.srcOriented[i]);
    EXPECT_EQ(a.srcDirection[i], reverse(b.srcDirection[i]));
  }
  EXPECT_EQ(a.comparedGraphs, b.comparedGraphs);
  EXPECT_EQ(a.incomingEdges, b.outgoingEdges);
  EXPECT_EQ(a.outgoingEdges, b.incomingEdges);
  EXPECT_EQ(a.undirectedEdges, b.undirectedEdges);
  EXPECT_EQ(a.unorientedEdges, b.unorientedEdges);
  EXPECT_EQ(a.orientationRun, b.orientationRun);
  EXPECT_EQ(a.orientationStability, b.orientationStability);
  EXPECT_EQ(a.orientationChanges, b.orientationChanges);
}

void expectConsistentGraph(ASGraph& graph) {
  List<ASGraph::graph_node*> nodes(graph.listNodes());
  EXPECT_EQ(nodes.len(), graph.nodes());
  while (!nodes.isEmpty()) {
    ASGraph::freeView(nodes.pop());
  }
  List<ASGraph::graph_edge*> edges(graph.listEdges());
  EXPECT_EQ(edges.len(), graph.edges());
  while (!edges.isEmpty()) {
    EdgeViewPtr listed(edges.pop());
    const unsigned short from = listed->from->key;
    const unsigned short to = listed->to->key;
    SCOPED_TRACE(std::to_string(from) + "-" + std::to_string(to));
    EXPECT_LE(from, to);
    expectPartnerRecords(*listed->fwdWeight, *listed->revWeight);
    if (from == to) {
      continue;
    }
    EdgeViewPtr partner = viewOf(graph, to, from);
    ASSERT_NE(partner, nullptr);
    expectSameRecord(*listed->revWeight, *partner->fwdWeight);
    expectSameRecord(*listed->fwdWeight, *partner->revWeight);
    EXPECT_EQ(*partner->dir, reverse(*listed->dir));
  }
}
