#include "importer/relationship_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "asgraph/as_graph.h"

namespace {

struct Occurrence {
  ASNumber first;
  ASNumber second;
  Relationship relationship;
};

using Merged = std::vector<std::tuple<ASNumber, ASNumber, Relationship>>;

Merged mergedOf(const RelationshipTable& table) {
  Merged merged;
  table.forEach(
      [&merged](ASNumber a, ASNumber b, Relationship r) { merged.emplace_back(a, b, r); });
  return merged;
}

// The merge rules written the plain way: every relationship each pair was
// given, seen from its smaller AS; one relationship kept, several unoriented.
TEST(RelationshipTableTest, MergesLikeTheModelWhateverTheOrder) {
  std::mt19937 random(20240801);
  for (int round = 0; round < 50; ++round) {
    std::vector<Occurrence> occurrences;
    const int count = static_cast<int>(random() % 200);
    for (int i = 0; i < count; ++i) {
      // Few ASes, so that pairs repeat, mirror and self-loop often; some above
      // 16 bits, up to the largest, whose pairs must keep apart.
      static const ASNumber kNumbers[] = {1, 2, 3, 65535, 65536, 131073, 2147483648u, 4294967295u};
      occurrences.push_back({kNumbers[random() % 8], kNumbers[random() % 8],
                             static_cast<Relationship>(random() % 4)});
    }
    std::map<std::pair<ASNumber, ASNumber>, std::set<Relationship>> model;
    for (const Occurrence& o : occurrences) {
      const bool swap = o.first > o.second;
      model[swap ? std::make_pair(o.second, o.first) : std::make_pair(o.first, o.second)].insert(
          swap ? seenFromOtherEnd(o.relationship) : o.relationship);
    }
    Merged expected;
    std::uint64_t conflicts = 0;
    std::uint64_t loops = 0;
    for (auto& [pair, kinds] : model) {
      // A self-loop is the same link from either end: customer of itself and
      // provider of itself together are one provider link.
      if (pair.first == pair.second &&
          kinds == std::set<Relationship>{Relationship::kProviderOf, Relationship::kCustomerOf}) {
        kinds.erase(Relationship::kCustomerOf);
      }
      conflicts += kinds.size() > 1 ? 1 : 0;
      loops += pair.first == pair.second ? 1 : 0;
      expected.emplace_back(pair.first, pair.second,
                            kinds.size() > 1 ? Relationship::kUnoriented : *kinds.begin());
    }

    for (int order = 0; order < 3; ++order) {
      SCOPED_TRACE(testing::Message() << "round " << round << " order " << order);
      std::shuffle(occurrences.begin(), occurrences.end(), random);
      RelationshipTable table;
      for (const Occurrence& o : occurrences) {
        table.add(o.first, o.second, o.relationship);
      }
      table.finish();
      ASSERT_EQ(mergedOf(table), expected);
      EXPECT_EQ(table.adjacencies(), model.size());
      EXPECT_EQ(table.duplicatesMerged(), occurrences.size() - model.size());
      EXPECT_EQ(table.conflicts(), conflicts);
      EXPECT_EQ(table.selfLoops(), loops);
      EXPECT_EQ(table.peering() + table.directed() + table.unoriented(), model.size());
      for (const auto& [a, b, r] : expected) {
        Relationship fromSmaller;
        Relationship fromLarger;
        ASSERT_TRUE(table.lookup(a, b, fromSmaller));
        ASSERT_TRUE(table.lookup(b, a, fromLarger));
        EXPECT_EQ(fromSmaller, r);
        // A self-loop has one end: both lookups are the same one.
        EXPECT_EQ(fromLarger, a == b ? r : seenFromOtherEnd(r));
      }
      Relationship unused;
      EXPECT_FALSE(table.lookup(1, 10, unused));
    }
  }
}

TEST(RelationshipTableTest, GraphHoldsEachClassWithItsDirection) {
  RelationshipTable table;
  table.add(7, 3, Relationship::kProviderOf);  // 7 is 3's provider: from 3 it is backward
  table.add(3, 9, Relationship::kProviderOf);
  table.add(9, 12, Relationship::kPeering);
  table.add(12, 4, Relationship::kUnoriented);
  table.add(5, 5, Relationship::kUnoriented);
  table.finish();
  ASGraph graph;
  for (unsigned short as : {3, 4, 5, 7, 9, 12}) {
    graph.addNode(as, as);
  }
  table.addTo(graph);
  EXPECT_EQ(graph.edges(), 5u);
  struct Expected {
    unsigned short from, to;
    bool oriented;
    edge_dir dir;
  };
  const Expected expected[] = {{3, 7, true, dir_backward}, {7, 3, true, dir_forward},
                               {3, 9, true, dir_forward},  {9, 12, true, dir_none},
                               {4, 12, false, dir_none},   {5, 5, false, dir_none}};
  for (const Expected& e : expected) {
    SCOPED_TRACE(testing::Message() << e.from << "-" << e.to);
    ASGraph::graph_edge* view = graph.edgeProperties(e.from, e.to);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->fwdWeight->oriented, e.oriented);
    EXPECT_EQ(view->revWeight->oriented, e.oriented);
    EXPECT_EQ(*view->dir, e.dir);
    EXPECT_EQ(view->fwdWeight->pathCovering[0], 0u);
    EXPECT_EQ(view->fwdWeight->ipCovering[0], 0u);
    ASGraph::freeView(view);
  }
}

}  // namespace
