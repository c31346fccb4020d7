#include "tests/support/as_record_checks.h"

#include <gtest/gtest.h>

#include <string>

#include "graph/list.h"

void expectSameRecord(const ASEdgeWeight& expected, const ASEdgeWeight& actual) {
  EXPECT_EQ(expected.oriented, actual.oriented);
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(expected.pathCovering[i], actual.pathCovering[i]);
    EXPECT_EQ(expected.ipCovering[i], actual.ipCovering[i]);
    EXPECT_EQ(expected.srcOriented[i], actual.srcOriented[i]);
    EXPECT_EQ(expected.srcDirection[i], actual.srcDirection[i]);
  }
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

std::uint32_t forEachAdjacency(ASGraph& graph,
                               const std::function<void(const ASGraph::graph_edge&)>& check) {
  List<ASGraph::graph_edge*> views(graph.listEdges());
  std::uint32_t listed = 0;
  while (!views.isEmpty()) {
    ASGraph::graph_edge* view = views.pop();
    ++listed;
    {
      SCOPED_TRACE("adjacency " + std::to_string(view->from->key) + "-" +
                   std::to_string(view->to->key));
      check(*view);
    }
    ASGraph::freeView(view);
  }
  return listed;
}

void expectConsistentGraph(ASGraph& graph) {
  const char* why = "";
  EXPECT_TRUE(graph.isValid(&why)) << why;
  List<ASGraph::graph_node*> nodes(graph.listNodes());
  EXPECT_EQ(nodes.len(), graph.nodes());
  while (!nodes.isEmpty()) {
    ASGraph::freeView(nodes.pop());
  }
  const std::uint32_t listed = forEachAdjacency(graph, [&graph](const ASGraph::graph_edge& view) {
    const ASNumber from = view.from->key;
    const ASNumber to = view.to->key;
    EXPECT_LE(from, to);
    expectPartnerRecords(*view.fwdWeight, *view.revWeight);
    if (from == to) {
      return;  // a self-loop has a single record, so there is no partner to look up
    }
    ASGraph::graph_edge* partner = graph.edgeProperties(to, from);
    EXPECT_NE(partner, nullptr);
    if (partner == nullptr) {
      return;
    }
    expectSameRecord(*view.revWeight, *partner->fwdWeight);
    expectSameRecord(*view.fwdWeight, *partner->revWeight);
    EXPECT_EQ(*partner->dir, reverse(*view.dir));
    ASGraph::freeView(partner);
  });
  EXPECT_EQ(listed, graph.edges());
}
