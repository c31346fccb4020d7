#include "graph/graph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

namespace {

struct Weight {
  int value = 0;
  bool operator==(const Weight& o) const { return value == o.value; }
};

using TestGraph = Graph<unsigned short, Weight, unsigned short>;
using EdgeView = TestGraph::graph_edge;

struct Seen {
  unsigned short from, to;
  int fwd, rev;
  edge_dir dir;
  bool operator==(const Seen& o) const {
    return std::tie(from, to, fwd, rev, dir) == std::tie(o.from, o.to, o.fwd, o.rev, o.dir);
  }
};

std::ostream& operator<<(std::ostream& os, const Seen& s) {
  return os << "(" << s.from << "," << s.to << " fwd " << s.fwd << " rev " << s.rev << " dir "
            << int(s.dir) << ")";
}

std::vector<Seen> listedEdges(TestGraph& g) {
  List<EdgeView*> views = g.listEdges();
  std::vector<Seen> out;
  while (!views.isEmpty()) {
    EdgeView* e = views.pop();
    out.push_back({e->from->key, e->to->key, e->fwdWeight->value, e->revWeight->value, *e->dir});
    TestGraph::freeView(e);
  }
  return out;
}

// Looks an adjacency up from one side; nullopt-like flag when absent.
bool properties(const TestGraph& g, unsigned short from, unsigned short to, Seen* out) {
  EdgeView* e = g.edgeProperties(from, to);
  if (e == nullptr) {
    return false;
  }
  *out = {e->from->key, e->to->key, e->fwdWeight->value, e->revWeight->value, *e->dir};
  TestGraph::freeView(e);
  return true;
}

// Every adjacency must be visible from both endpoints as exact mirrors, and
// the counts must agree with what the listings show.
void checkMirrors(TestGraph& g) {
  std::vector<Seen> all = listedEdges(g);
  EXPECT_EQ(all.size(), g.edges());
  for (const Seen& s : all) {
    EXPECT_LE(s.from, s.to);
    if (s.from == s.to) {
      continue;  // a self-loop has a single record
    }
    Seen back{};
    ASSERT_TRUE(properties(g, s.to, s.from, &back)) << s;
    EXPECT_EQ(back, (Seen{s.to, s.from, s.rev, s.fwd, reverse(s.dir)})) << s;
  }
  List<TestGraph::graph_node*> nodes = g.listNodes();
  EXPECT_EQ(nodes.len(), g.nodes());
  while (!nodes.isEmpty()) {
    TestGraph::graph_node* n = nodes.pop();
    EXPECT_EQ(*n->weight, n->key);
    TestGraph::freeView(n);
  }
}

TestGraph& withNodes(TestGraph& g, std::initializer_list<unsigned short> keys) {
  for (unsigned short k : keys) {
    g.addNode(k, k);
  }
  return g;
}

TEST(EdgeDirTest, ReverseSwapsTheTwoDirections) {
  EXPECT_EQ(reverse(dir_none), dir_none);
  EXPECT_EQ(reverse(dir_backward), dir_forward);
  EXPECT_EQ(reverse(dir_forward), dir_backward);
  EXPECT_EQ(reverse(static_cast<edge_dir>(7)), dir_none);
}

TEST(GraphTest, AddNodeRefusesDuplicateKeys) {
  TestGraph g;
  EXPECT_EQ(g.addNode(5, 5), 1);
  EXPECT_EQ(g.addNode(6, 5), 0);
  EXPECT_EQ(g.nodes(), 1u);
  List<TestGraph::graph_node*> nodes = g.listNodes();
  TestGraph::graph_node* n = nodes.pop();
  EXPECT_EQ(*n->weight, 5);
  TestGraph::freeView(n);
}

TEST(GraphTest, AddEdgeFollowsTheMergeTable) {
  TestGraph g;
  withNodes(g, {1, 2});
  Weight a{1}, b{2}, c{3}, d{4};
  Seen s{};

  EXPECT_EQ(g.addEdge(1, 2, dir_forward, a, b), 3);
  EXPECT_EQ(g.edges(), 1u);
  ASSERT_TRUE(properties(g, 1, 2, &s));
  EXPECT_EQ(s, (Seen{1, 2, 1, 2, dir_forward}));
  ASSERT_TRUE(properties(g, 2, 1, &s));
  EXPECT_EQ(s, (Seen{2, 1, 2, 1, dir_backward}));

  // Same direction again: the first weights stay.
  EXPECT_EQ(g.addEdge(1, 2, dir_forward, c, d), 1);
  ASSERT_TRUE(properties(g, 1, 2, &s));
  EXPECT_EQ(s, (Seen{1, 2, 1, 2, dir_forward}));

  // Reported the opposite way round: directions cancel, weights replaced.
  EXPECT_EQ(g.addEdge(2, 1, dir_forward, c, d), 2);
  ASSERT_TRUE(properties(g, 1, 2, &s));
  EXPECT_EQ(s, (Seen{1, 2, 4, 3, dir_none}));
  checkMirrors(g);

  // An undirected adjacency takes a direction, and loses it again.
  EXPECT_EQ(g.addEdge(1, 2, dir_backward, a, b), 2);
  ASSERT_TRUE(properties(g, 1, 2, &s));
  EXPECT_EQ(s, (Seen{1, 2, 1, 2, dir_backward}));
  ASSERT_TRUE(properties(g, 2, 1, &s));
  EXPECT_EQ(s.dir, dir_forward);
  EXPECT_EQ(g.addEdge(1, 2, dir_none, c, d), 2);
  ASSERT_TRUE(properties(g, 1, 2, &s));
  EXPECT_EQ(s, (Seen{1, 2, 3, 4, dir_none}));
  EXPECT_EQ(g.addEdge(2, 1, dir_none, a, b), 1);
  ASSERT_TRUE(properties(g, 1, 2, &s));
  EXPECT_EQ(s, (Seen{1, 2, 3, 4, dir_none}));
  EXPECT_EQ(g.edges(), 1u);
  checkMirrors(g);
}

TEST(GraphTest, MissingEndpointChangesNothing) {
  TestGraph g;
  withNodes(g, {1, 2});
  EXPECT_EQ(g.addEdge(1, 9, dir_none, Weight{}, Weight{}), 0);
  EXPECT_EQ(g.addEdge(9, 1, dir_none, Weight{}, Weight{}), 0);
  EXPECT_EQ(g.edges(), 0u);
  Seen s{};
  EXPECT_FALSE(properties(g, 1, 9, &s));
  EXPECT_FALSE(properties(g, 9, 1, &s));
  EXPECT_FALSE(properties(g, 1, 2, &s));
}

TEST(GraphTest, SelfLoopIsStoredAndListedOnce) {
  TestGraph g;
  withNodes(g, {3});
  EXPECT_EQ(g.addEdge(3, 3, dir_forward, Weight{1}, Weight{2}), 3);
  EXPECT_EQ(g.edges(), 1u);
  EXPECT_EQ(listedEdges(g), (std::vector<Seen>{{3, 3, 1, 2, dir_forward}}));
  // Opposite direction on a self-loop: the second set of writes remains.
  EXPECT_EQ(g.addEdge(3, 3, dir_backward, Weight{5}, Weight{6}), 2);
  EXPECT_EQ(listedEdges(g), (std::vector<Seen>{{3, 3, 5, 6, dir_none}}));
}

TEST(GraphTest, ListEdgesIsSortedFromTheSmallerKey) {
  TestGraph g;
  withNodes(g, {3, 1, 2});
  g.addEdge(2, 3, dir_forward, Weight{23}, Weight{32});
  g.addEdge(3, 1, dir_forward, Weight{31}, Weight{13});
  g.addEdge(2, 2, dir_none, Weight{22}, Weight{22});
  g.addEdge(1, 2, dir_none, Weight{12}, Weight{21});
  std::vector<Seen> expected{{1, 2, 12, 21, dir_none},
                             {1, 3, 13, 31, dir_backward},
                             {2, 2, 22, 22, dir_none},
                             {2, 3, 23, 32, dir_forward}};
  EXPECT_EQ(listedEdges(g), expected);
  EXPECT_EQ(listedEdges(g), expected);  // marks were cleared after the first listing
}

TEST(GraphTest, ListNodesGivesIndependentViewSets) {
  TestGraph g;
  withNodes(g, {9, 4, 7});
  List<TestGraph::graph_node*> first = g.listNodes();
  List<TestGraph::graph_node*> second = g.listNodes();
  std::vector<unsigned short> keys;
  while (!first.isEmpty()) {
    TestGraph::graph_node* a = first.pop();
    TestGraph::graph_node* b = second.pop();
    EXPECT_NE(a, b);
    EXPECT_EQ(a->weight, b->weight);  // both point into the same stored node
    keys.push_back(a->key);
    TestGraph::freeView(a);
    TestGraph::freeView(b);
  }
  EXPECT_EQ(keys, (std::vector<unsigned short>{4, 7, 9}));
}

TEST(GraphTest, WritingThroughAViewChangesOnlyThatRecord) {
  TestGraph g;
  withNodes(g, {1, 2});
  g.addEdge(1, 2, dir_none, Weight{1}, Weight{2});
  EdgeView* e = g.edgeProperties(1, 2);
  e->fwdWeight->value = 100;
  TestGraph::freeView(e);
  Seen s{};
  properties(g, 1, 2, &s);
  EXPECT_EQ(s.fwd, 100);
  properties(g, 2, 1, &s);
  EXPECT_EQ(s.rev, 1);
}

TEST(GraphTest, AssignmentIsADeepCopy) {
  TestGraph g1;
  withNodes(g1, {1, 2, 3});
  g1.addEdge(2, 1, dir_forward, Weight{21}, Weight{12});
  g1.addEdge(2, 3, dir_none, Weight{23}, Weight{32});
  g1.addEdge(3, 3, dir_backward, Weight{33}, Weight{34});
  TestGraph g2;
  withNodes(g2, {50});
  g2 = g1;
  EXPECT_EQ(g2.nodes(), 3u);
  EXPECT_EQ(g2.edges(), 3u);
  EXPECT_EQ(listedEdges(g2), listedEdges(g1));
  checkMirrors(g2);

  g1.addNode(4, 4);
  g1.addEdge(1, 4, dir_none, Weight{}, Weight{});
  EXPECT_EQ(g2.nodes(), 3u);
  EXPECT_EQ(g2.edges(), 3u);

  TestGraph copy(g2);
  EXPECT_EQ(listedEdges(copy), listedEdges(g2));

  g2 = TestGraph();
  EXPECT_EQ(g2.nodes(), 0u);
  EXPECT_EQ(g2.edges(), 0u);
  EXPECT_TRUE(listedEdges(g2).empty());
  g1 = g1;
  EXPECT_EQ(g1.edges(), 4u);
}

// The validity check must notice an adjacency whose two records no longer
// mirror each other; writing through a view changes one record only.
TEST(GraphTest, ValidityCheckCatchesBrokenMirrors) {
  struct Case {
    const char* corruption;
    void (*corrupt)(EdgeView& at1);
    const char* reason;
  } cases[] = {
      {"direction changed at one end", [](EdgeView& e) { *e.dir = dir_backward; },
       "mirror record's direction is not reversed"},
      {"direction copied, not reversed", [](EdgeView& e) { *e.dir = dir_none; },
       "mirror record's direction is not reversed"},
      {"own weight changed at one end", [](EdgeView& e) { e.fwdWeight->value = 99; },
       "mirror record's weights are not swapped"},
      {"far weight changed at one end", [](EdgeView& e) { e.revWeight->value = 99; },
       "mirror record's weights are not swapped"},
      {"direction out of range", [](EdgeView& e) { *e.dir = static_cast<edge_dir>(3); },
       "adjacency record has no valid direction"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.corruption);
    TestGraph g;
    withNodes(g, {1, 2, 3});
    g.addEdge(1, 2, dir_forward, Weight{12}, Weight{21});
    g.addEdge(2, 3, dir_none, Weight{23}, Weight{32});
    g.addEdge(3, 3, dir_none, Weight{33}, Weight{33});
    const char* why = "";
    ASSERT_TRUE(g.isValid(&why)) << why;
    EdgeView* at1 = g.edgeProperties(1, 2);
    c.corrupt(*at1);
    TestGraph::freeView(at1);
    EXPECT_FALSE(g.isValid(&why));
    EXPECT_STREQ(why, c.reason);
  }
}

// Random adjacencies against a model of the merge rules, keyed by the pair
// seen from the smaller key.
// With mirrors made at once or deferred: a deferring graph must give the
// same answers, and must pass its own check while mirrors are owed.
class GraphModelTest : public ::testing::TestWithParam<bool> {};

TEST_P(GraphModelTest, AgreesWithModelUnderRandomEdges) {
  std::mt19937 rng(99);
  TestGraph g;
  g.deferMirrors(GetParam());
  const unsigned short n = 40;
  for (unsigned short k = 1; k <= n; ++k) {
    g.addNode(k, k);
  }
  std::map<std::pair<unsigned short, unsigned short>, Seen> model;
  for (int step = 0; step < 5000; ++step) {
    unsigned short a = static_cast<unsigned short>(1 + rng() % n);
    unsigned short b = static_cast<unsigned short>(1 + rng() % n);
    edge_dir dir = static_cast<edge_dir>(rng() % 3);
    Weight fwd{step}, rev{-step};
    // Normalise to the smaller key's view.
    bool flip = a > b;
    Seen incoming = flip ? Seen{b, a, rev.value, fwd.value, reverse(dir)}
                         : Seen{a, b, fwd.value, rev.value, dir};
    auto key = std::make_pair(incoming.from, incoming.to);
    int expected;
    auto it = model.find(key);
    if (it == model.end()) {
      model[key] = incoming;
      expected = 3;
    } else {
      edge_dir stored = it->second.dir;
      edge_dir newDir = incoming.dir;
      if (a == b) {
        // A self-loop compares the new direction with the stored one as given.
        newDir = dir;
      }
      if ((stored == dir_none && newDir == dir_none) || (stored != dir_none && newDir == stored)) {
        expected = 1;
      } else {
        expected = 2;
        edge_dir result = (stored == dir_none) ? newDir : dir_none;
        it->second = a == b ? Seen{a, b, fwd.value, rev.value, result}
                            : Seen{incoming.from, incoming.to, incoming.fwd, incoming.rev, result};
      }
    }
    if (GetParam() && step % 700 == 350) {
      // Owed records outlive the deferring, and new adjacencies then still
      // find them.
      g.deferMirrors(step % 1400 != 350);
    }
    ASSERT_EQ(g.addEdge(a, b, dir, fwd, rev), expected) << "step " << step;
    const char* why = "";
    ASSERT_TRUE(g.isValid(&why)) << why << " at step " << step;
    if (step % 500 == 0) {
      // Copies and listings must leave sound graphs behind too.
      TestGraph copy;
      withNodes(copy, {1, 77});
      copy = g;
      ASSERT_TRUE(copy.isValid(&why)) << why << " in the copy at step " << step;
      ASSERT_EQ(listedEdges(copy).size(), model.size());
      ASSERT_TRUE(g.isValid(&why)) << why << " after listing at step " << step;
    }
    if (step % 97 == 0) {
      // A lookup in the middle of deferred insertions sees every adjacency.
      Seen seen{};
      auto found = model.find(std::make_pair(std::min(a, b), std::max(a, b)));
      ASSERT_TRUE(properties(g, b, a, &seen));
      EXPECT_EQ(seen.fwd, b <= a ? found->second.fwd : found->second.rev) << "step " << step;
      ASSERT_TRUE(g.isValid(&why)) << why << " after a lookup at step " << step;
    }
  }
  g.deferMirrors(false);
  std::vector<Seen> expectedList;
  for (auto& kv : model) {
    expectedList.push_back(kv.second);
  }
  EXPECT_EQ(listedEdges(g), expectedList);
  checkMirrors(g);
}

INSTANTIATE_TEST_SUITE_P(MirrorsAtOnceOrDeferred, GraphModelTest, ::testing::Bool());

// What is written through an update reaches both records of each adjacency
// once the update ends: a made record is brought along, an owed one is made
// from the new values.
TEST(GraphTest, WritesThroughAnUpdateReachBothRecords) {
  TestGraph g;
  withNodes(g, {1, 2, 3});
  g.addEdge(1, 2, dir_forward, Weight{10}, Weight{20});
  g.deferMirrors(true);
  g.addEdge(2, 3, dir_backward, Weight{30}, Weight{40});
  g.addEdge(3, 3, dir_none, Weight{50}, Weight{60});
  g.deferMirrors(false);
  for (TestGraph::EdgeUpdate update(g); !update.atEnd(); update.next()) {
    update.current()->fwdWeight->value += 1;
  }
  Seen seen{};
  ASSERT_TRUE(properties(g, 3, 2, &seen));
  EXPECT_EQ(seen, (Seen{3, 2, 40, 31, dir_forward}));
  ASSERT_TRUE(properties(g, 2, 1, &seen));
  EXPECT_EQ(seen, (Seen{2, 1, 20, 11, dir_backward}));
  ASSERT_TRUE(properties(g, 3, 3, &seen));
  EXPECT_EQ(seen, (Seen{3, 3, 51, 60, dir_none}));
  const char* why = "";
  EXPECT_TRUE(g.isValid(&why)) << why;
  checkMirrors(g);
}

// The graph finds nodes by a key table for 16-bit keys and by its node tree
// otherwise, and takes its records from huge pages or from the heap: every
// combination, fed the same adjacencies sorted or shuffled, must hold the
// same graph.
template <class Key>
std::vector<std::tuple<long, long, int, int, int>> buildAndList(
    const std::vector<std::tuple<Key, Key, int>>& lines, bool deferMirrors = false) {
  Graph<Key, Weight, Key> g;
  g.deferMirrors(deferMirrors);
  for (const auto& line : lines) {
    g.addNode(std::get<0>(line), std::get<0>(line));
    g.addNode(std::get<1>(line), std::get<1>(line));
  }
  for (const auto& line : lines) {
    const Key a = std::get<0>(line);
    const Key b = std::get<1>(line);
    const int value = std::get<2>(line);
    g.addEdge(a, b, static_cast<edge_dir>(value % 3), Weight{value}, Weight{-value});
  }
  const char* owing = "";
  EXPECT_TRUE(g.isValid(&owing)) << owing;
  std::vector<std::tuple<long, long, int, int, int>> out;
  List<typename Graph<Key, Weight, Key>::graph_edge*> views = g.listEdges();
  while (!views.isEmpty()) {
    auto* e = views.pop();
    auto* back = g.edgeProperties(e->to->key, e->from->key);
    EXPECT_NE(back, nullptr);
    // A self-loop has one record, which is its own partner.
    if (back != nullptr && e->from->key != e->to->key) {
      EXPECT_EQ(back->fwdWeight->value, e->revWeight->value);
      EXPECT_EQ(*back->dir, reverse(*e->dir));
    }
    if (back != nullptr) {
      Graph<Key, Weight, Key>::freeView(back);
    }
    out.emplace_back(e->from->key, e->to->key, e->fwdWeight->value, e->revWeight->value, *e->dir);
    Graph<Key, Weight, Key>::freeView(e);
  }
  EXPECT_EQ(out.size(), g.edges());
  const char* why = "";
  EXPECT_TRUE(g.isValid(&why)) << why;
  return out;
}

TEST(GraphTest, SortedAndShuffledInputGiveTheSameGraphWithEitherStorage) {
  std::mt19937 rng(5);
  std::vector<std::tuple<unsigned short, unsigned short, int>> sorted;
  for (int i = 0; i < 20000; ++i) {
    auto a = static_cast<unsigned short>(1 + rng() % 3000);
    auto b = static_cast<unsigned short>(1 + rng() % 3000);
    sorted.emplace_back(std::min(a, b), std::max(a, b), static_cast<int>(rng() % 1000));
  }
  std::sort(sorted.begin(), sorted.end());
  sorted.erase(std::unique(sorted.begin(), sorted.end(),
                           [](const auto& x, const auto& y) {
                             return std::get<0>(x) == std::get<0>(y) &&
                                    std::get<1>(x) == std::get<1>(y);
                           }),
               sorted.end());
  std::vector<std::tuple<unsigned short, unsigned short, int>> shuffled(sorted);
  std::shuffle(shuffled.begin(), shuffled.end(), rng);
  std::vector<std::tuple<int, int, int>> wideKeys;
  for (const auto& line : shuffled) {
    wideKeys.emplace_back(std::get<0>(line), std::get<1>(line), std::get<2>(line));
  }

  const bool hugePages = Arena::hugePages();
  const auto expected = buildAndList(sorted);
  EXPECT_EQ(expected.size(), sorted.size());
  // Reversed endpoints make a deferring graph store records at the other end.
  std::vector<std::tuple<unsigned short, unsigned short, int>> reversed;
  for (const auto& line : sorted) {
    reversed.emplace_back(std::get<1>(line), std::get<0>(line), std::get<2>(line));
  }
  const auto expectedReversed = buildAndList(reversed);
  for (bool huge : {false, true}) {
    for (bool defer : {false, true}) {
      SCOPED_TRACE(testing::Message() << "huge pages " << huge << ", deferred mirrors " << defer);
      Arena::hugePages() = huge;
      EXPECT_EQ(buildAndList(sorted, defer), expected);
      EXPECT_EQ(buildAndList(shuffled, defer), expected);
      EXPECT_EQ(buildAndList(wideKeys, defer), expected);
      EXPECT_EQ(buildAndList(reversed, defer), expectedReversed);
    }
  }
  Arena::hugePages() = hugePages;
}

}  // namespace

namespace {

// Unsigned 32-bit keys: the table serves keys below 65536 and the hash table the rest. Both
// must find exactly the nodes added, through every growth of the hash table, and the nodes must
// still come in unsigned key order.
using WideGraph = Graph<std::uint32_t, Weight, std::uint32_t>;

TEST(WideKeyGraphTest, AgreesWithAModelAcrossBothLookups) {
  std::mt19937 rng(32);
  const std::uint32_t boundaries[] = {1,           65535,       65536,       65537,
                                      2147483647u, 2147483648u, 4294967294u, 4294967295u};
  auto randomKey = [&rng, &boundaries]() -> std::uint32_t {
    switch (rng() % 4) {
      case 0:
        return boundaries[rng() % 8];
      case 1:
        return 1 + rng() % 65535;
      default:
        return static_cast<std::uint32_t>(rng());
    }
  };
  WideGraph g;
  std::vector<std::uint32_t> model;
  std::map<std::pair<std::uint32_t, std::uint32_t>, int> edges;
  for (int step = 0; step < 6000; ++step) {
    const std::uint32_t key = randomKey();
    const bool fresh = std::find(model.begin(), model.end(), key) == model.end();
    ASSERT_EQ(g.addNode(key, key), fresh ? 1 : 0) << key;
    if (fresh) {
      model.push_back(key);
    }
    // An adjacency between two known nodes, and one to a key that may be absent.
    const std::uint32_t a = model[rng() % model.size()];
    const std::uint32_t b = model[rng() % model.size()];
    const int added = g.addEdge(a, b, dir_none, Weight{step}, Weight{step});
    const auto pair = std::minmax(a, b);
    EXPECT_EQ(added, edges.count(pair) != 0 ? 1 : 3);
    edges.emplace(pair, step);
    const std::uint32_t maybe = randomKey();
    const bool known = std::find(model.begin(), model.end(), maybe) != model.end();
    EXPECT_EQ(g.addEdge(a, maybe, dir_none, Weight{}, Weight{}) != 0, known) << maybe;
    edges.emplace(std::minmax(a, maybe), step);
    if (!known) {
      edges.erase(std::minmax(a, maybe));
    }
  }
  const char* why = "";
  ASSERT_TRUE(g.isValid(&why)) << why;
  std::sort(model.begin(), model.end());
  std::vector<std::uint32_t> listed;
  List<WideGraph::graph_node*> nodes = g.listNodes();
  while (!nodes.isEmpty()) {
    WideGraph::graph_node* n = nodes.pop();
    listed.push_back(n->key);
    WideGraph::freeView(n);
  }
  EXPECT_EQ(listed, model);
  EXPECT_EQ(g.nodesAboveKeyTable(),
            static_cast<std::size_t>(std::count_if(model.begin(), model.end(),
                                                   [](std::uint32_t k) { return k > 65535; })));
  EXPECT_EQ(g.edges(), edges.size());
  for (const auto& [pair, step] : edges) {
    WideGraph::graph_edge* e = g.edgeProperties(pair.second, pair.first);
    ASSERT_NE(e, nullptr) << pair.first << " " << pair.second;
    WideGraph::freeView(e);
  }
  // A copy builds its own tables.
  WideGraph copy;
  copy = g;
  ASSERT_TRUE(copy.isValid(&why)) << why;
  EXPECT_EQ(copy.nodesAboveKeyTable(), g.nodesAboveKeyTable());
}

}  // namespace
