#ifndef TESTS_ASGRAPH_GRAPH_TEXT_H_
#define TESTS_ASGRAPH_GRAPH_TEXT_H_

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "asgraph/as_graph.h"
#include "tests/support/as_record_checks.h"

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

// Consistent as every graph is, and each record starts its orientation run at 1, as a record read
// from a file does.
inline void expectGraphAsRead(ASGraph& graph) {
  expectConsistentGraph(graph);
  forEachAdjacency(graph, [](const ASGraph::graph_edge& view) {
    EXPECT_EQ(view.fwdWeight->orientationRun, 1);
    EXPECT_EQ(view.revWeight->orientationRun, 1);
  });
}

#endif  // TESTS_ASGRAPH_GRAPH_TEXT_H_
