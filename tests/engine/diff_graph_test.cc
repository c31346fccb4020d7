#include "engine/diff_graph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "asgraph/graph_file_writer.h"
#include "engine/condition_letters.h"
#include "engine/diff_graph_writer.h"
#include "engine/node_compare.h"
#include "tests/engine/test_graphs.h"
#include "tests/support/as_record_checks.h"

namespace {

using Counter = std::uint32_t diff_type::*;

constexpr std::uint32_t kUntouched = 777;

// Runs the edge comparison with an --over: or --comp: formula (empty for none).
diff_type compare(ASGraph& graph1, ASGraph& graph2, ASGraph& built, const std::string& over = "",
                  const std::string& comp = "", bool negate = false) {
  cmdLineParameters params;
  resetParams(params);
  params.negate = negate;
  if (!over.empty()) {
    params.overConditions = formula(over, overLetterBit);
  }
  if (!comp.empty()) {
    params.compConditions = formula(comp, compLetterBit);
  }
  params.buildGraph = !over.empty() || !comp.empty();
  diff_type diff = filledDiff(kUntouched);
  makeDiffGraph(stdout, params, graph1, graph2, built, diff);
  return diff;
}

// The node counters stay as they were; every edge counter not named is 0.
diff_type edgeCounters(std::initializer_list<std::pair<Counter, std::uint32_t>> values) {
  diff_type diff = filledDiff(0);
  diff.nodesOnlyIn1st = diff.nodesOnlyIn2nd = diff.commonNodes = kUntouched;
  for (const auto& value : values) {
    diff.*value.first = value.second;
  }
  return diff;
}

// The adjacency from-to is in built with this direction and these two records, one per endpoint.
void expectStored(ASGraph& built, unsigned short from, unsigned short to, edge_dir dir,
                  const ASEdgeWeight& atFrom, const ASEdgeWeight& atTo) {
  SCOPED_TRACE("stored " + std::to_string(from) + "-" + std::to_string(to));
  EdgeViewPtr stored = viewOf(built, from, to);
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(*stored->dir, dir);
  expectSameRecord(atFrom, *stored->fwdWeight);
  expectSameRecord(atTo, *stored->revWeight);
}

std::string name(EdgeState s) {
  return std::string(s.oriented ? "oriented" : "unoriented") + "/" +
         std::to_string(static_cast<int>(s.dir));
}

TEST(EngineDiffGraphTest, CommonEdgeCounters) {
  constexpr EdgeState kUnorientedForward{false, dir_forward};
  struct Row {
    EdgeState state1, state2;
    Counter class1, class2;
    std::uint32_t differently, oppositely, consistently;
  };
  const Row rows[] = {
      {kUnoriented, kForward, &diff_type::unoriented1st, &diff_type::directed2nd, 0, 0, 0},
      {kPeering, kBackward, &diff_type::peering1st, &diff_type::directed2nd, 1, 0, 0},
      {kForward, kPeering, &diff_type::directed1st, &diff_type::peering2nd, 1, 0, 0},
      {kForward, kBackward, &diff_type::directed1st, &diff_type::directed2nd, 1, 1, 0},
      {kBackward, kForward, &diff_type::directed1st, &diff_type::directed2nd, 1, 1, 0},
      {kPeering, kPeering, &diff_type::peering1st, &diff_type::peering2nd, 0, 0, 1},
      {kBackward, kBackward, &diff_type::directed1st, &diff_type::directed2nd, 0, 0, 1},
      {kUnorientedForward, kUnorientedForward, &diff_type::unoriented1st, &diff_type::unoriented2nd,
       0, 0, 0},
      {kForward, kUnoriented, &diff_type::directed1st, &diff_type::unoriented2nd, 0, 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(name(row.state1) + " vs " + name(row.state2));
    ASGraph graph1, graph2, built;
    addAdjacency(graph1, 3, 8, row.state1);
    addAdjacency(graph2, 3, 8, row.state2);
    expectSameDiff(edgeCounters({{&diff_type::commonEdges, 1},
                                 {row.class1, 1},
                                 {row.class2, 1},
                                 {&diff_type::differentlyDirected, row.differently},
                                 {&diff_type::oppositelyDirected, row.oppositely},
                                 {&diff_type::consistentlyDirected, row.consistently}}),
                   compare(graph1, graph2, built));
  }
}

TEST(EngineDiffGraphTest, EdgeInOneGraphOnly) {
  struct Row {
    EdgeState state;
    Counter class1, only1, class2, only2;
  };
  const Row rows[] = {
      {kPeering, &diff_type::peering1st, &diff_type::peeringOnlyIn1st, &diff_type::peering2nd,
       &diff_type::peeringOnlyIn2nd},
      {kBackward, &diff_type::directed1st, &diff_type::directedOnlyIn1st, &diff_type::directed2nd,
       &diff_type::directedOnlyIn2nd},
      {kUnoriented, &diff_type::unoriented1st, &diff_type::unorientedOnlyIn1st,
       &diff_type::unoriented2nd, &diff_type::unorientedOnlyIn2nd},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(name(row.state));
    ASGraph holder, empty, built;
    addAdjacency(holder, 4, 2, row.state);
    expectSameDiff(edgeCounters({{&diff_type::edgesOnlyIn1st, 1}, {row.class1, 1}, {row.only1, 1}}),
                   compare(holder, empty, built));
    expectSameDiff(edgeCounters({{&diff_type::edgesOnlyIn2nd, 1}, {row.class2, 1}, {row.only2, 1}}),
                   compare(empty, holder, built));
    EXPECT_EQ(built.nodes(), 0u);
  }
}

// The second graph's file names the edge from 20: it is still one common edge, and both
// directions are compared as seen from 10.
TEST(EngineDiffGraphTest, EdgeWrittenFromEitherEnd) {
  struct Row {
    EdgeState state1From10, state2From20;
    Counter verdict;
  };
  const Row rows[] = {
      {kForward, kBackward, &diff_type::consistentlyDirected},
      {kForward, kForward, &diff_type::oppositelyDirected},
      {kPeering, kPeering, &diff_type::consistentlyDirected},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(name(row.state1From10) + " vs " + name(row.state2From20) + " from 20");
    ASGraph graph1, graph2, built;
    addAdjacency(graph1, 10, 20, row.state1From10);
    addAdjacency(graph2, 20, 10, row.state2From20);
    const diff_type diff = compare(graph1, graph2, built, "a");
    EXPECT_EQ(diff.commonEdges, 1u);
    EXPECT_EQ(diff.edgesOnlyIn1st + diff.edgesOnlyIn2nd, 0u);
    EXPECT_EQ(diff.*row.verdict, 1u);
    EdgeViewPtr stored = viewOf(built, 10, 20);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->fwdWeight->srcDirection[1], reversed(row.state2From20).dir);
  }
}

TEST(EngineDiffGraphTest, OverlapRecords) {
  struct Row {
    const char* label;
    EdgeState state1, state2;
    std::uint16_t incoming, outgoing, undirected, unoriented;  // of the record at 10
  };
  const Row rows[] = {
      {"peering in both", kPeering, kPeering, 0, 0, 2, 0},
      {"forward then backward", kForward, kBackward, 1, 1, 0, 0},
      {"forward in both", kForward, kForward, 0, 2, 0, 0},
      {"unoriented then backward", kUnoriented, kBackward, 1, 0, 0, 1},
      {"peering then unoriented", kPeering, kUnoriented, 0, 0, 1, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    ASEdgeWeight at10in1, at20in1, at10in2, at20in2;
    at10in1.pathCovering[0] = 11;
    at10in1.ipCovering[0] = 1011;
    at20in1.pathCovering[0] = 21;
    at20in1.ipCovering[0] = 1021;
    at10in2.pathCovering[0] = 12;
    at10in2.ipCovering[0] = 1012;
    at20in2.pathCovering[0] = 22;
    at20in2.ipCovering[0] = 1ull << 50;
    // Fields a plain graph does not use must not leak into the overlap record.
    at10in1.comparedGraphs = at20in2.orientationRun = 9;
    ASGraph graph1, graph2, built;
    addAdjacency(graph1, 10, 20, row.state1, at10in1, at20in1);
    addAdjacency(graph2, 20, 10, reversed(row.state2), at20in2, at10in2);
    compare(graph1, graph2, built, "a");
    ASSERT_EQ(built.edges(), 1u);
    EXPECT_EQ(built.nodes(), 2u);

    ASEdgeWeight from10;
    from10.pathCovering[0] = 11;
    from10.pathCovering[1] = 12;
    from10.ipCovering[0] = 1011;
    from10.ipCovering[1] = 1012;
    from10.srcOriented[0] = row.state1.oriented;
    from10.srcOriented[1] = row.state2.oriented;
    from10.srcDirection[0] = row.state1.dir;
    from10.srcDirection[1] = row.state2.dir;
    from10.comparedGraphs = 2;
    from10.incomingEdges = row.incoming;
    from10.outgoingEdges = row.outgoing;
    from10.undirectedEdges = row.undirected;
    from10.unorientedEdges = row.unoriented;
    ASEdgeWeight from20 = from10;
    from20.pathCovering[0] = 21;
    from20.pathCovering[1] = 22;
    from20.ipCovering[0] = 1021;
    from20.ipCovering[1] = 1ull << 50;
    from20.srcDirection[0] = reverse(row.state1.dir);
    from20.srcDirection[1] = reverse(row.state2.dir);
    from20.incomingEdges = row.outgoing;
    from20.outgoingEdges = row.incoming;

    expectStored(built, 10, 20, dir_none, from10, from20);
    expectConsistentGraph(built);
  }
}

TEST(EngineDiffGraphTest, ComplementaryRecordsKeepTheirSource) {
  ASEdgeWeight at30, at7;
  at30.pathCovering[0] = 3;
  at30.ipCovering[0] = 300;
  at7.pathCovering[0] = 4;
  at7.ipCovering[0] = 400;
  at7.comparedGraphs = 5;
  at7.srcOriented[0] = true;
  ASGraph graph1, graph2, built;
  addAdjacency(graph1, 30, 7, kForward, at30, at7);  // listed from 7 as backward
  addAdjacency(graph1, 1, 2, kPeering);              // common: not in the complementary graph
  addAdjacency(graph2, 1, 2, kPeering);
  addAdjacency(graph2, 99, 98, kUnoriented);
  graph1.addNode(500, 500);  // no edge: never reaches the output

  const diff_type diff = compare(graph1, graph2, built, "", "a,A");
  EXPECT_EQ(diff.edgesOnlyIn1st, 1u);
  EXPECT_EQ(diff.edgesOnlyIn2nd, 1u);
  EXPECT_EQ(built.edges(), 2u);
  EXPECT_EQ(built.nodes(), 4u);
  EXPECT_EQ(viewOf(built, 1, 2), nullptr);

  ASEdgeWeight from7, from30, from98, from99;
  from7.oriented = from30.oriented = true;
  from7.pathCovering[0] = 4;
  from7.ipCovering[0] = 400;
  from30.pathCovering[0] = 3;
  from30.ipCovering[0] = 300;
  expectStored(built, 7, 30, dir_backward, from7, from30);
  expectStored(built, 98, 99, dir_none, from98, from99);
  expectConsistentGraph(built);
}

TEST(EngineDiffGraphTest, NegationAndMissingFormula) {
  struct Row {
    const char* over;
    const char* comp;
    bool negate;
    std::vector<std::pair<unsigned short, unsigned short>> inserted;
  };
  // Graph 1: 1-2 and 2-3 (common), 1-5 only here. Graph 2: 1-2, 2-3, 4-6 only here.
  const Row rows[] = {
      {"a", "", false, {{1, 2}, {2, 3}}},
      {"a", "", true, {}},
      {"uo", "", false, {}},
      {"uo", "", true, {{1, 2}, {2, 3}}},
      {"d", "", false, {{2, 3}}},
      {"d", "", true, {{1, 2}}},
      {"", "a", false, {{1, 5}}},
      {"", "a", true, {{4, 6}}},
      {"", "a,A", true, {}},
      {"", "", true, {}},
      {"", "", false, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string("over '") + row.over + "' comp '" + row.comp + "'" +
                 (row.negate ? " -n" : ""));
    ASGraph graph1, graph2, built;
    addAdjacency(graph1, 1, 2, kPeering);
    addAdjacency(graph1, 2, 3, kForward);
    addAdjacency(graph1, 1, 5, kUnoriented);
    addAdjacency(graph2, 1, 2, kPeering);
    addAdjacency(graph2, 2, 3, kBackward);
    addAdjacency(graph2, 4, 6, kForward);
    const diff_type diff = compare(graph1, graph2, built, row.over, row.comp, row.negate);
    EXPECT_EQ(diff.commonEdges, 2u);
    EXPECT_EQ(built.edges(), row.inserted.size());
    std::set<unsigned short> endpoints;
    for (const auto& edge : row.inserted) {
      EXPECT_NE(viewOf(built, edge.first, edge.second), nullptr)
          << edge.first << "-" << edge.second;
      endpoints.insert(edge.first);
      endpoints.insert(edge.second);
    }
    EXPECT_EQ(built.nodes(), endpoints.size());
  }
}

TEST(EngineDiffGraphTest, SelfLoopIsOneEdge) {
  ASGraph graph1, graph2, built;
  addAdjacency(graph1, 6, 6, kForward);
  addAdjacency(graph1, 6, 9, kPeering);
  addAdjacency(graph2, 6, 6, kForward);
  const diff_type diff = compare(graph1, graph2, built, "a");
  expectSameDiff(edgeCounters({{&diff_type::edgesOnlyIn1st, 1},
                               {&diff_type::commonEdges, 1},
                               {&diff_type::peering1st, 1},
                               {&diff_type::peeringOnlyIn1st, 1},
                               {&diff_type::directed1st, 1},
                               {&diff_type::directed2nd, 1},
                               {&diff_type::consistentlyDirected, 1}}),
                 diff);
  EXPECT_EQ(built.edges(), 1u);
  EXPECT_EQ(built.nodes(), 1u);
  EdgeViewPtr loop = viewOf(built, 6, 6);
  ASSERT_NE(loop, nullptr);
  EXPECT_EQ(loop->fwdWeight->outgoingEdges, 2);
  EXPECT_EQ(loop->revWeight->incomingEdges, 2);
  expectConsistentGraph(built);
}

// One random graph as a model: every adjacency under (smaller key, larger key), its state seen
// from the smaller key, and the path covering at each end.
struct ModelEdge {
  EdgeState state;
  std::uint32_t pathAtSmaller, pathAtLarger;
};
using Model = std::map<std::pair<unsigned short, unsigned short>, ModelEdge>;

EdgeState randomState(std::mt19937& rng) {
  const EdgeState states[] = {kUnoriented, kPeering, kForward, kBackward,
                              EdgeState{false, dir_forward}};
  return states[rng() % 5];
}

// Keys from a small pool so that graphs share nodes and edges, with both ends of the range.
unsigned short randomKey(std::mt19937& rng) {
  static const unsigned short kPool[] = {1,    2,     3,     5,     8,     13,    21,   34,   55,
                                         89,   144,   233,   377,   610,   987,   1597, 2584, 4181,
                                         6765, 10946, 17711, 28657, 46368, 65534, 65535};
  return kPool[rng() % (sizeof(kPool) / sizeof(kPool[0]))];
}

Model randomModel(std::mt19937& rng, const Model* base) {
  Model model;
  if (base != nullptr) {
    for (const auto& entry : *base) {
      const unsigned roll = rng() % 10;
      if (roll < 6) {
        model.insert(entry);
      } else if (roll < 8) {
        ModelEdge changed = entry.second;
        changed.state = randomState(rng);
        model.emplace(entry.first, changed);
      }
    }
  }
  const int added = static_cast<int>(rng() % 40);
  for (int i = 0; i < added; ++i) {
    unsigned short a = randomKey(rng);
    unsigned short b = randomKey(rng);
    if (a > b) {
      std::swap(a, b);
    }
    model.emplace(std::make_pair(a, b),
                  ModelEdge{randomState(rng), static_cast<std::uint32_t>(rng() % 100),
                            static_cast<std::uint32_t>(rng() % 100)});
  }
  return model;
}

// Builds the graph in a shuffled order, naming each adjacency from a random end.
void buildGraph(std::mt19937& rng, const Model& model, ASGraph& graph) {
  std::vector<std::pair<std::pair<unsigned short, unsigned short>, ModelEdge>> entries(
      model.begin(), model.end());
  std::shuffle(entries.begin(), entries.end(), rng);
  for (const auto& entry : entries) {
    const unsigned short a = entry.first.first;
    const unsigned short b = entry.first.second;
    ASEdgeWeight atA, atB;
    atA.pathCovering[0] = entry.second.pathAtSmaller;
    atB.pathCovering[0] = entry.second.pathAtLarger;
    // A self-loop has one record, so only one way of naming it matches the model.
    if (a == b || rng() % 2 == 0) {
      addAdjacency(graph, a, b, entry.second.state, atA, atB);
    } else {
      addAdjacency(graph, b, a, reversed(entry.second.state), atB, atA);
    }
  }
  for (int i = static_cast<int>(rng() % 3); i > 0; --i) {
    const unsigned short lonely = randomKey(rng);
    graph.addNode(lonely, lonely);
  }
}

Counter classCounter(EdgeState state, Counter unoriented, Counter peering, Counter directed) {
  if (!state.oriented) {
    return unoriented;
  }
  return state.dir == dir_none ? peering : directed;
}

TEST(EngineDiffGraphTest, RandomPairsAgreeWithModel) {
  for (unsigned seed = 1; seed <= 150; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    const Model model1 = randomModel(rng, nullptr);
    const Model model2 = randomModel(rng, &model1);
    ASGraph graph1, graph2;
    buildGraph(rng, model1, graph1);
    buildGraph(rng, model2, graph2);
    ASSERT_EQ(graph1.edges(), model1.size());
    ASSERT_EQ(graph2.edges(), model2.size());

    diff_type expected = edgeCounters({});
    for (const auto& entry : model1) {
      const EdgeState s1 = entry.second.state;
      auto other = model2.find(entry.first);
      expected.*classCounter(s1, &diff_type::unoriented1st, &diff_type::peering1st,
                             &diff_type::directed1st) += 1;
      if (other == model2.end()) {
        expected.edgesOnlyIn1st += 1;
        expected.*classCounter(s1, &diff_type::unorientedOnlyIn1st, &diff_type::peeringOnlyIn1st,
                               &diff_type::directedOnlyIn1st) += 1;
        continue;
      }
      const EdgeState s2 = other->second.state;
      expected.commonEdges += 1;
      if (s1.oriented && s2.oriented) {
        expected.differentlyDirected += s1.dir != s2.dir;
        expected.consistentlyDirected += s1.dir == s2.dir;
        expected.oppositelyDirected += s1.dir != dir_none && s2.dir == reverse(s1.dir);
      }
    }
    for (const auto& entry : model2) {
      const EdgeState s2 = entry.second.state;
      expected.*classCounter(s2, &diff_type::unoriented2nd, &diff_type::peering2nd,
                             &diff_type::directed2nd) += 1;
      if (model1.count(entry.first) == 0) {
        expected.edgesOnlyIn2nd += 1;
        expected.*classCounter(s2, &diff_type::unorientedOnlyIn2nd, &diff_type::peeringOnlyIn2nd,
                               &diff_type::directedOnlyIn2nd) += 1;
      }
    }

    ASGraph overlap, complement;
    const diff_type diff = compare(graph1, graph2, overlap, "a");
    expectSameDiff(expected, diff);
    expectSameDiff(expected, compare(graph1, graph2, complement, "", "a,A"));

    // The invariants that the report's reader relies on.
    EXPECT_EQ(diff.edgesOnlyIn1st + diff.commonEdges, graph1.edges());
    EXPECT_EQ(diff.edgesOnlyIn2nd + diff.commonEdges, graph2.edges());
    EXPECT_EQ(diff.peering1st + diff.directed1st + diff.unoriented1st, graph1.edges());
    EXPECT_EQ(diff.peering2nd + diff.directed2nd + diff.unoriented2nd, graph2.edges());
    EXPECT_EQ(diff.peeringOnlyIn1st + diff.directedOnlyIn1st + diff.unorientedOnlyIn1st,
              diff.edgesOnlyIn1st);
    EXPECT_EQ(diff.peeringOnlyIn2nd + diff.directedOnlyIn2nd + diff.unorientedOnlyIn2nd,
              diff.edgesOnlyIn2nd);
    EXPECT_LE(diff.oppositelyDirected, diff.differentlyDirected);

    diff_type nodes = filledDiff(kUntouched);
    cmdLineParameters params;
    resetParams(params);
    nodeCmp(stdout, params, graph1, graph2, nodes);
    EXPECT_EQ(nodes.nodesOnlyIn1st + nodes.commonNodes, graph1.nodes());
    EXPECT_EQ(nodes.nodesOnlyIn2nd + nodes.commonNodes, graph2.nodes());

    // The output graphs hold exactly the common, respectively the one-graph, adjacencies.
    EXPECT_EQ(overlap.edges(), diff.commonEdges);
    EXPECT_EQ(complement.edges(), diff.edgesOnlyIn1st + diff.edgesOnlyIn2nd);
    for (const auto* source : {&model1, &model2}) {
      const Model& other = source == &model1 ? model2 : model1;
      for (const auto& entry : *source) {
        const auto key = entry.first;
        const bool common = other.count(key) != 0;
        EdgeViewPtr inOverlap = viewOf(overlap, key.first, key.second);
        EdgeViewPtr inComplement = viewOf(complement, key.first, key.second);
        ASSERT_EQ(inOverlap != nullptr, common);
        ASSERT_EQ(inComplement != nullptr, !common);
        if (common) {
          const int entryIndex = source == &model1 ? 0 : 1;
          EXPECT_EQ(inOverlap->fwdWeight->srcDirection[entryIndex], entry.second.state.dir);
          EXPECT_EQ(inOverlap->fwdWeight->srcOriented[entryIndex], entry.second.state.oriented);
          EXPECT_EQ(inOverlap->revWeight->pathCovering[entryIndex], entry.second.pathAtLarger);
        } else {
          EXPECT_EQ(*inComplement->dir, entry.second.state.dir);
          EXPECT_EQ(inComplement->revWeight->oriented, entry.second.state.oriented);
          EXPECT_EQ(inComplement->fwdWeight->pathCovering[0], entry.second.pathAtSmaller);
        }
      }
    }
    expectConsistentGraph(overlap);
    expectConsistentGraph(complement);
  }
}

// A formula of one to three items of one to three letters, as on the command line.
std::string randomFormula(std::mt19937& rng, const std::string& letters) {
  std::string text;
  for (int item = static_cast<int>(rng() % 3); item >= 0; --item) {
    for (int letter = static_cast<int>(rng() % 3); letter >= 0; --letter) {
      text += letters[rng() % letters.size()];
    }
    if (item > 0) {
      text += ',';
    }
  }
  return text;
}

// The bytes that write puts on a fresh stream; "" after a failed write.
template <class Write>
std::string writtenBytes(Write write) {
  FILE* stream = std::tmpfile();
  EXPECT_NE(stream, nullptr);
  const bool ok = write(stream);
  EXPECT_TRUE(ok);
  std::string text(static_cast<std::size_t>(std::ftell(stream)), '\0');
  std::rewind(stream);
  EXPECT_EQ(std::fread(&text[0], 1, text.size(), stream), text.size());
  std::fclose(stream);
  return ok ? text : "";
}

// A stream that takes the first limit bytes and fails every write after them. After the first
// failure it takes nothing more: what the stream library tries when it is closed is not the
// writer's doing.
struct FailingSink {
  std::size_t limit;
  std::string taken;
  bool failed = false;
};

ssize_t sinkWrite(void* cookie, const char* data, size_t size) {
  auto* sink = static_cast<FailingSink*>(cookie);
  if (sink->failed || sink->taken.size() + size > sink->limit) {
    sink->failed = true;
    return -1;
  }
  sink->taken.append(data, size);
  return static_cast<ssize_t>(size);
}

struct WriteOutcome {
  bool ok;
  std::string reason;
  std::string taken;
};

// Runs write on an unbuffered stream that fails after limit bytes.
template <class Write>
WriteOutcome writeUpTo(std::size_t limit, Write write) {
  FailingSink sink{limit, {}, false};
  FILE* stream = fopencookie(&sink, "w", {nullptr, sinkWrite, nullptr, nullptr});
  EXPECT_NE(stream, nullptr);
  setvbuf(stream, nullptr, _IONBF, 0);
  WriteOutcome outcome;
  outcome.ok = write(stream, outcome.reason);
  std::fclose(stream);
  outcome.taken = sink.taken;
  return outcome;
}

// The output graph written as the merge finds it is, byte for byte and failure for failure, the
// graph makeDiffGraph builds written with writeToFile.
TEST(EngineDiffGraphTest, WrittenUnbuiltAsBuiltAndWritten) {
  for (unsigned seed = 1; seed <= 300; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    const Model model1 = randomModel(rng, nullptr);
    const Model model2 = randomModel(rng, &model1);
    ASGraph graph1, graph2;
    buildGraph(rng, model1, graph1);
    buildGraph(rng, model2, graph2);

    cmdLineParameters params;
    resetParams(params);
    params.buildGraph = true;
    params.negate = rng() % 4 == 0;
    const bool over = rng() % 2 == 0;
    const std::string text = rng() % 5 == 0
                                 ? (over ? "a" : "a,A")
                                 : randomFormula(rng, over ? "aoOuUpPdDxyw" : "aAuUoOpPdD");
    SCOPED_TRACE((params.negate ? "-n " : "") + std::string(over ? "--over:" : "--comp:") + text);
    if (over) {
      params.overConditions = formula(text, overLetterBit);
    } else {
      params.compConditions = formula(text, compLetterBit);
    }

    // Labelled as the driver labels the output graph.
    List<char*> names;
    char first[] = "first.zng";
    char second[] = "second name.zng";
    names.enqueue(first);
    names.enqueue(second);
    auto label = [&](ASGraph& graph) {
      graph.isDifferential() = over;
      graph.setComment(seed % 2 == 0 ? "" : "compared");
      graph.setSourceFiles(names, false);
    };
    ASGraph built;
    diff_type diff = filledDiff(kUntouched);
    makeDiffGraph(stdout, params, graph1, graph2, built, diff);
    label(built);
    ASGraph labels;
    label(labels);

    const std::string expected = writtenBytes([&](FILE* out) { return built.writeToFile(out); });
    const std::string actual = writtenBytes([&](FILE* out) {
      GraphFileWriter writer(out);
      return writeDiffGraph(writer, params, graph1, graph2, labels);
    });
    ASSERT_EQ(actual, expected);
    EXPECT_EQ(labels.nodes(), 0u);

    // A write that fails at any byte fails the same way, after the same bytes.
    if (seed % 10 != 0) {
      continue;
    }
    for (std::size_t limit = 0; limit < expected.size(); limit += 1 + rng() % 7) {
      SCOPED_TRACE("failing at byte " + std::to_string(limit));
      const WriteOutcome old = writeUpTo(limit, [&](FILE* out, std::string& reason) {
        const bool ok = built.writeToFile(out);
        reason = built.errReason();
        return ok;
      });
      const WriteOutcome now = writeUpTo(limit, [&](FILE* out, std::string& reason) {
        GraphFileWriter writer(out);
        const bool ok = writeDiffGraph(writer, params, graph1, graph2, labels);
        reason = writer.reason();
        return ok;
      });
      EXPECT_FALSE(now.ok);
      EXPECT_EQ(now.ok, old.ok);
      EXPECT_EQ(now.reason, old.reason);
      EXPECT_EQ(now.taken, old.taken);
    }
  }
}

}  // namespace
