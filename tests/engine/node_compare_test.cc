#include "engine/node_compare.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "tests/engine/test_graphs.h"

namespace {

// Runs nodeCmp into a memory stream and returns what it wrote.
std::string runNodeCmp(const std::vector<unsigned short>& keys1,
                       const std::vector<unsigned short>& keys2, bool listMode, diff_type& diff) {
  ASGraph graph1, graph2;
  for (unsigned short key : keys1) {
    graph1.addNode(key, key);
  }
  for (unsigned short key : keys2) {
    graph2.addNode(key, key);
  }
  // An edge must not change anything about the node comparison.
  if (keys1.size() >= 2) {
    addAdjacency(graph1, keys1[0], keys1[1], kPeering);
  }
  cmdLineParameters params;
  resetParams(params);
  params.listMode = listMode;

  char* buffer = nullptr;
  size_t size = 0;
  FILE* out = open_memstream(&buffer, &size);
  nodeCmp(out, params, graph1, graph2, diff);
  fclose(out);
  std::string text(buffer, size);
  free(buffer);
  return text;
}

TEST(EngineNodeCompareTest, ListsAndCounts) {
  struct Row {
    const char* label;
    std::vector<unsigned short> keys1, keys2;
    const char* listing;
    std::uint32_t only1, only2, common;
  };
  const Row rows[] = {
      {"both empty", {}, {}, "", 0, 0, 0},
      {"first empty", {}, {7, 3}, "> 3\n> 7\n", 0, 2, 0},
      {"second empty", {9, 1}, {}, "< 1\n< 9\n", 2, 0, 0},
      {"identical", {5, 65535, 1}, {1, 65535, 5}, "| 1\n| 5\n| 65535\n", 0, 0, 3},
      {"interleaved",
       {2, 4, 6, 40000},
       {1, 4, 5, 6, 65535},
       "> 1\n< 2\n| 4\n> 5\n| 6\n< 40000\n> 65535\n",
       2,
       3,
       2},
      {"tail of first", {1, 65534, 65535}, {1}, "| 1\n< 65534\n< 65535\n", 2, 0, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    for (bool listMode : {true, false}) {
      SCOPED_TRACE(listMode ? "list mode" : "counting only");
      diff_type diff = filledDiff(777);
      const std::string text = runNodeCmp(row.keys1, row.keys2, listMode, diff);
      EXPECT_EQ(text, listMode ? row.listing : "");
      diff_type expected = filledDiff(777);
      expected.nodesOnlyIn1st = row.only1;
      expected.nodesOnlyIn2nd = row.only2;
      expected.commonNodes = row.common;
      expectSameDiff(expected, diff);
    }
  }
}

TEST(EngineNodeCompareTest, LexOrder) {
  struct Row {
    unsigned short from1, to1, from2, to2;
    int expected;
  };
  const Row rows[] = {
      {1, 5, 2, 3, -1},
      {2, 3, 1, 5, 1},
      {3, 9, 3, 4, 1},
      {3, 4, 3, 9, -1},
      {3, 4, 3, 4, 0},
      {1, 65535, 65535, 65535, -1},
      {65535, 65535, 1, 65535, 1},
      {7, 7, 7, 40000, -1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.from1) + "-" + std::to_string(row.to1) + " vs " +
                 std::to_string(row.from2) + "-" + std::to_string(row.to2));
    // The views come from different graphs, as in the edge merge.
    ASGraph graph1, graph2;
    addAdjacency(graph1, row.from1, row.to1, kPeering);
    addAdjacency(graph2, row.from2, row.to2, kForward);
    EdgeViewPtr e1 = viewOf(graph1, row.from1, row.to1);
    EdgeViewPtr e2 = viewOf(graph2, row.from2, row.to2);
    EXPECT_EQ(lexOrder(e1.get(), e2.get()), row.expected);
  }
}

}  // namespace
