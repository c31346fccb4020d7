#include "tests/engine/test_graphs.h"

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
