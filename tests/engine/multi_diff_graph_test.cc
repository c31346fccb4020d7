#include "engine/multi_diff_graph.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "tests/engine/test_graphs.h"
#include "tests/support/as_record_checks.h"

namespace {

using History = std::vector<std::optional<EdgeState>>;  // empty: the input lacks the adjacency

// Folds one input per entry, each holding the adjacency 1-2 (named from 1) when the entry says so
// and always an unrelated adjacency, and checks both stored copies after every fold.
void foldHistory(ASGraph& multi, const History& history) {
  for (const auto& appearance : history) {
    ASGraph input;
    addAdjacency(input, 40, 41, kPeering);
    if (appearance) {
      addAdjacency(input, 1, 2, *appearance);
    }
    graphCompare(multi, input);
    expectConsistentGraph(multi);
  }
}

TEST(EngineMultiTest, WorkedExample) {
  ASGraph multi;
  foldHistory(multi, {kForward, kForward, kForward});
  EdgeViewPtr stored = viewOf(multi, 1, 2);
  ASSERT_NE(stored, nullptr);
  ASEdgeWeight& f = *stored->fwdWeight;
  ASEdgeWeight& r = *stored->revWeight;
  EXPECT_EQ(f.orientationRun, 3);
  EXPECT_EQ(f.orientationChanges, 0);
  EXPECT_EQ(f.orientationStability, 0.0f);

  foldHistory(multi, {kPeering});
  EXPECT_EQ(f.orientationStability, 3.0f);
  EXPECT_EQ(f.orientationRun, 1);
  EXPECT_EQ(f.orientationChanges, 1);
  foldHistory(multi, {kPeering});
  EXPECT_EQ(f.orientationRun, 2);
  foldHistory(multi, {kForward});
  EXPECT_EQ(f.orientationStability, 2.5f);
  EXPECT_EQ(f.orientationRun, 1);
  EXPECT_EQ(f.orientationChanges, 2);

  updateMeans(multi);
  expectConsistentGraph(multi);
  EXPECT_EQ(f.orientationStability, 2.0f);
  EXPECT_EQ(r.orientationStability, 2.0f);
  EXPECT_EQ(f.comparedGraphs, 6);
  EXPECT_EQ(f.outgoingEdges, 4);
  EXPECT_EQ(f.undirectedEdges, 2);
  EXPECT_EQ(f.incomingEdges, 0);
  EXPECT_EQ(f.unorientedEdges, 0);
  EXPECT_EQ(f.srcDirection[0], dir_forward);
  EXPECT_EQ(r.incomingEdges, 4);
  EXPECT_EQ(r.outgoingEdges, 0);
  EXPECT_EQ(r.srcDirection[0], dir_backward);
  EXPECT_FALSE(f.oriented);
  EXPECT_EQ(*stored->dir, dir_none);
}

TEST(EngineMultiTest, Histories) {
  constexpr EdgeState kUnorientedForward{false, dir_forward};
  struct Row {
    const char* label;
    History history;
    std::uint16_t compared, changes, run;
    float stability;  // after updateMeans
  };
  const Row rows[] = {
      {"in one input only", {std::nullopt, kForward, std::nullopt}, 1, 0, 1, 1.0f},
      {"unchanged in all inputs", {kPeering, kPeering, kPeering, kPeering}, 4, 0, 4, 4.0f},
      {"changed every time", {kForward, kBackward, kPeering, kUnoriented, kForward}, 5, 4, 1, 1.0f},
      {"absent input does not break the run", {kBackward, std::nullopt, kBackward}, 2, 0, 2, 2.0f},
      {"peering then unoriented is a change", {kPeering, kUnoriented}, 2, 1, 1, 1.0f},
      {"the direction of an unoriented edge counts",
       {kUnoriented, kUnorientedForward},
       2,
       1,
       1,
       1.0f},
      {"runs of 3 and 1", {kForward, kForward, kForward, kBackward}, 4, 1, 1, 2.0f},
      {"runs of 1 and 2", {kUnoriented, std::nullopt, kPeering, kPeering}, 3, 1, 2, 1.5f},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    ASGraph multi;
    foldHistory(multi, row.history);
    updateMeans(multi);
    expectConsistentGraph(multi);
    EdgeViewPtr stored = viewOf(multi, 1, 2);
    ASSERT_NE(stored, nullptr);
    const ASEdgeWeight& f = *stored->fwdWeight;
    EXPECT_EQ(f.comparedGraphs, row.compared);
    EXPECT_EQ(f.orientationChanges, row.changes);
    EXPECT_EQ(f.orientationRun, row.run);
    EXPECT_EQ(f.orientationStability, row.stability);
    EXPECT_EQ(f.incomingEdges + f.outgoingEdges + f.undirectedEdges + f.unorientedEdges,
              f.comparedGraphs);
  }
}

// Each input lists the adjacency from 10, whichever end its file named first.
TEST(EngineMultiTest, EdgeNamedFromEitherEnd) {
  ASGraph multi, first, second, third;
  addAdjacency(first, 10, 20, kForward);
  addAdjacency(second, 20, 10, kBackward);  // still forward from 10
  addAdjacency(third, 20, 10, kForward);    // backward from 10
  graphCompare(multi, first);
  graphCompare(multi, second);
  expectConsistentGraph(multi);
  EdgeViewPtr at10 = viewOf(multi, 10, 20);
  ASSERT_NE(at10, nullptr);
  EXPECT_EQ(at10->fwdWeight->outgoingEdges, 2);
  EXPECT_EQ(at10->revWeight->incomingEdges, 2);
  EXPECT_EQ(at10->fwdWeight->orientationRun, 2);

  graphCompare(multi, third);
  expectConsistentGraph(multi);
  EXPECT_EQ(multi.edges(), 1u);
  EXPECT_EQ(at10->fwdWeight->incomingEdges, 1);
  EXPECT_EQ(at10->fwdWeight->orientationChanges, 1);
  EXPECT_EQ(at10->fwdWeight->srcDirection[0], dir_backward);
  EdgeViewPtr at20 = viewOf(multi, 20, 10);
  EXPECT_EQ(at20->fwdWeight->outgoingEdges, 1);
  EXPECT_EQ(at20->fwdWeight->incomingEdges, 2);
  EXPECT_EQ(at20->fwdWeight->srcDirection[0], dir_forward);
}

TEST(EngineMultiTest, OnlyHistoryReachesTheRecords) {
  ASEdgeWeight at3, at4;
  at3.pathCovering[0] = 17;
  at3.ipCovering[0] = 1700;
  at4.pathCovering[0] = 18;
  at4.srcOriented[1] = true;
  at4.srcDirection[1] = dir_forward;
  at4.comparedGraphs = 9;
  at4.orientationStability = 4.5f;
  ASGraph multi, input;
  addAdjacency(input, 3, 4, kUnoriented, at3, at4);
  input.addNode(500, 500);
  // A differential input folds like any other: its unoriented edge is an unoriented appearance.
  input.isDifferential() = true;
  graphCompare(multi, input);
  graphCompare(multi, input);
  EXPECT_EQ(multi.nodes(), 2u);
  EXPECT_EQ(multi.edges(), 1u);

  ASEdgeWeight expected;
  expected.comparedGraphs = 2;
  expected.unorientedEdges = 2;
  expected.orientationRun = 2;
  EdgeViewPtr stored = viewOf(multi, 3, 4);
  ASSERT_NE(stored, nullptr);
  expectSameRecord(expected, *stored->fwdWeight);
  expectSameRecord(expected, *stored->revWeight);
}

// A self-loop has one stored record: aligning it with a partner would swap its counts.
TEST(EngineMultiTest, SelfLoopKeepsItsCounts) {
  ASGraph multi;
  for (EdgeState state : {kForward, kForward, kBackward}) {
    ASGraph input;
    addAdjacency(input, 5, 5, state);
    graphCompare(multi, input);
    expectConsistentGraph(multi);
  }
  EXPECT_EQ(multi.edges(), 1u);
  EXPECT_EQ(multi.nodes(), 1u);
  EdgeViewPtr loop = viewOf(multi, 5, 5);
  ASSERT_NE(loop, nullptr);
  EXPECT_EQ(loop->fwdWeight->comparedGraphs, 3);
  EXPECT_EQ(loop->fwdWeight->outgoingEdges, 2);
  EXPECT_EQ(loop->fwdWeight->incomingEdges, 1);
  EXPECT_EQ(loop->revWeight->incomingEdges, 2);
  EXPECT_EQ(loop->revWeight->outgoingEdges, 1);
  EXPECT_EQ(loop->fwdWeight->srcDirection[0], dir_backward);
  EXPECT_EQ(loop->revWeight->srcDirection[0], dir_forward);
  updateMeans(multi);
  EXPECT_EQ(loop->fwdWeight->orientationStability, 1.5f);
  EXPECT_EQ(loop->revWeight->orientationStability, 1.5f);
}

// 65535 earlier changes: k + 1 must not wrap to 0, and the counters themselves wrap.
TEST(EngineMultiTest, StabilityAfterCounterLimit) {
  ASEdgeWeight f, r;
  f.srcOriented[0] = r.srcOriented[0] = true;
  f.srcDirection[0] = dir_forward;
  r.srcDirection[0] = dir_backward;
  f.orientationChanges = r.orientationChanges = 65535;
  f.orientationStability = r.orientationStability = 2.0f;
  f.orientationRun = r.orientationRun = 2;
  f.comparedGraphs = r.comparedGraphs = 65535;
  ASGraph multi, input;
  multi.addNode(1, 1);
  multi.addNode(2, 2);
  multi.addEdge(1, 2, dir_none, f, r);
  addAdjacency(input, 1, 2, kBackward);
  graphCompare(multi, input);
  expectConsistentGraph(multi);
  EdgeViewPtr stored = viewOf(multi, 1, 2);
  EXPECT_EQ(stored->fwdWeight->orientationStability, 2.0f);
  EXPECT_EQ(stored->fwdWeight->orientationChanges, 0);
  EXPECT_EQ(stored->fwdWeight->comparedGraphs, 0);
}

// The mean is worked out in a type wider than float and rounded once: five runs with mean 1.2
// (itself rounded to 1.20000005f) and a run of 1 give 1.16666675f, where float arithmetic
// would give 1.16666663f.
TEST(EngineMultiTest, UpdateMeansRoundsOnce) {
  struct Row {
    std::uint16_t changes;
    float mean;
    std::uint16_t run;
    float expected;
  };
  const Row rows[] = {
      {0, 0.0f, 7, 7.0f},
      {5, 1.2f, 1, 1.16666675f},
      {5, 3.2f, 1, 2.83333349f},
      {65535, 2.0f, 2, 2.0f},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.changes) + " runs of mean " + std::to_string(row.mean) +
                 ", then " + std::to_string(row.run));
    ASEdgeWeight f, r;
    f.orientationChanges = r.orientationChanges = row.changes;
    f.orientationStability = r.orientationStability = row.mean;
    f.orientationRun = r.orientationRun = row.run;
    ASGraph multi;
    multi.addNode(3, 3);
    multi.addNode(9, 9);
    multi.addEdge(9, 3, dir_none, r, f);
    updateMeans(multi);
    expectConsistentGraph(multi);
    EdgeViewPtr stored = viewOf(multi, 3, 9);
    EXPECT_EQ(stored->fwdWeight->orientationStability, row.expected);
    EXPECT_EQ(stored->fwdWeight->orientationRun, row.run);
    EXPECT_EQ(stored->fwdWeight->orientationChanges, row.changes);
  }
}

TEST(EngineMultiTest, RandomFoldsAgreeWithModel) {
  const EdgeState states[] = {kUnoriented, kPeering, kForward, kBackward,
                              EdgeState{false, dir_backward}};
  for (unsigned seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    // Per adjacency (smaller key, larger key): its state, seen from the smaller key, in every
    // input that has it.
    std::map<std::pair<unsigned short, unsigned short>, std::vector<EdgeState>> model;
    std::map<std::pair<unsigned short, unsigned short>, EdgeState> current;
    ASGraph multi;
    const int inputs = 2 + static_cast<int>(rng() % 7);
    for (int i = 0; i < inputs; ++i) {
      std::map<std::pair<unsigned short, unsigned short>, EdgeState> next;
      for (const auto& entry : current) {
        const unsigned roll = rng() % 10;
        if (roll < 6) {
          next.insert(entry);
        } else if (roll < 8) {
          next.emplace(entry.first, states[rng() % 5]);
        }
      }
      for (int added = static_cast<int>(rng() % 25); added > 0; --added) {
        unsigned short a = static_cast<unsigned short>(1 + rng() % 12);
        unsigned short b = rng() % 4 == 0 ? 65535 : static_cast<unsigned short>(1 + rng() % 12);
        if (a > b) {
          std::swap(a, b);
        }
        next.emplace(std::make_pair(a, b), states[rng() % 5]);
      }
      ASGraph input;
      for (const auto& entry : next) {
        const auto key = entry.first;
        model[key].push_back(entry.second);
        if (key.first == key.second || rng() % 2 == 0) {
          addAdjacency(input, key.first, key.second, entry.second);
        } else {
          addAdjacency(input, key.second, key.first, reversed(entry.second));
        }
      }
      graphCompare(multi, input);
      expectConsistentGraph(multi);
      ASSERT_EQ(multi.edges(), model.size());
      current = next;
    }
    updateMeans(multi);
    expectConsistentGraph(multi);

    for (const auto& entry : model) {
      const std::vector<EdgeState>& seen = entry.second;
      ASEdgeWeight expected;
      expected.comparedGraphs = static_cast<std::uint16_t>(seen.size());
      expected.srcOriented[0] = seen.back().oriented;
      expected.srcDirection[0] = seen.back().dir;
      expected.orientationRun = 0;
      for (std::size_t i = 0; i < seen.size(); ++i) {
        const EdgeState s = seen[i];
        if (!s.oriented) {
          ++expected.unorientedEdges;
        } else if (s.dir == dir_none) {
          ++expected.undirectedEdges;
        } else if (s.dir == dir_forward) {
          ++expected.outgoingEdges;
        } else {
          ++expected.incomingEdges;
        }
        if (i > 0 && !(s == seen[i - 1])) {
          ++expected.orientationChanges;
          expected.orientationRun = 0;
        }
        ++expected.orientationRun;
      }
      EdgeViewPtr stored = viewOf(multi, entry.first.first, entry.first.second);
      ASSERT_NE(stored, nullptr);
      // The mean of all run lengths is the number of appearances over the number of runs.
      const float mean = static_cast<float>(seen.size()) / (expected.orientationChanges + 1);
      EXPECT_NEAR(stored->fwdWeight->orientationStability, mean, 1e-5);
      expected.orientationStability = stored->fwdWeight->orientationStability;
      expectSameRecord(expected, *stored->fwdWeight);
    }
  }
}

}  // namespace
