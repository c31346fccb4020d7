#ifndef TESTS_ASGRAPH_GRAPH_TEXT_H_
#define TESTS_ASGRAPH_GRAPH_TEXT_H_

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "asgraph/as_graph.h"

// Reads text as a graph file through a real stream.
inline bool readText(ASGraph& graph, const std::string& text) {
  FILE* stream = std::tmpfile();
  EXPECT_NE(stream, nullptr);
  std::fwrite(text.data(), 1, text.size(), stream);
  std::rewind(stream);
  bool ok = graph.readFromFile(stream);
  std::fclose(stream);
  return ok;
}

// Writes the graph and returns the bytes of the file; fails the test when the
// write fails.
inline std::string writeText(ASGraph& graph) {
  FILE* stream = std::tmpfile();
  EXPECT_NE(stream, nullptr);
  EXPECT_TRUE(graph.writeToFile(stream)) << graph.errReason();
  EXPECT_STREQ(graph.errReason(), "");
  std::string text(static_cast<std::size_t>(std::ftell(stream)), '\0');
  std::rewind(stream);
  EXPECT_EQ(std::fread(&text[0], 1, text.size(), stream), text.size());
  std::fclose(stream);
  return text;
}

// The two records of every adjacency must agree as a record and its partner
// at the other endpoint do, and a record read from a file starts its
// orientation run at 1.
inline void expectPairRelations(ASGraph& graph) {
  List<ASGraph::graph_edge*> views = graph.listEdges();
  std::uint32_t listed = 0;
  while (!views.isEmpty()) {
    ASGraph::graph_edge* view = views.pop();
    ++listed;
    const ASEdgeWeight& a = *view->fwdWeight;
    const ASEdgeWeight& b = *view->revWeight;
    SCOPED_TRACE(testing::Message() << "adjacency " << view->from->key << "-" << view->to->key);
    EXPECT_EQ(a.oriented, b.oriented);
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(a.srcOriented[i], b.srcOriented[i]);
      EXPECT_EQ(a.srcDirection[i], reverse(b.srcDirection[i]));
    }
    EXPECT_EQ(a.comparedGraphs, b.comparedGraphs);
    EXPECT_EQ(a.incomingEdges, b.outgoingEdges);
    EXPECT_EQ(a.outgoingEdges, b.incomingEdges);
    EXPECT_EQ(a.undirectedEdges, b.undirectedEdges);
    EXPECT_EQ(a.unorientedEdges, b.unorientedEdges);
    EXPECT_EQ(a.orientationChanges, b.orientationChanges);
    EXPECT_EQ(a.orientationStability, b.orientationStability);
    EXPECT_EQ(a.orientationRun, 1);
    EXPECT_EQ(b.orientationRun, 1);

    ASGraph::freeView(view);
  }
  EXPECT_EQ(listed, graph.edges());
}

#endif  // TESTS_ASGRAPH_GRAPH_TEXT_H_
