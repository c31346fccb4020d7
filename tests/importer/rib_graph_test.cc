#include "importer/rib_graph.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "asgraph/as_graph.h"
#include "random/splitmix64.h"
#include "tests/support/as_record_checks.h"

namespace {

// The bytes of the graph as its file.
std::string writeText(ASGraph& graph) {
  FILE* stream = std::tmpfile();
  EXPECT_NE(stream, nullptr);
  EXPECT_TRUE(graph.writeToFile(stream)) << graph.errReason();
  std::string text(static_cast<std::size_t>(std::ftell(stream)), '\0');
  std::rewind(stream);
  EXPECT_EQ(std::fread(&text[0], 1, text.size(), stream), text.size());
  std::fclose(stream);
  return text;
}

std::string entry(const std::string& prefix, const std::string& path, const char* kind = "B") {
  return std::string("TABLE_DUMP|1027381055|") + kind + "|193.203.0.1|1853|" + prefix + "|" + path +
         "|IGP|193.203.0.1|0|0||NAG||";
}

// One line per rule: nested, overlapping and touching prefixes, prepending,
// a repeated path, a loop, an AS set on a default route, 32-bit, X.Y and zero
// AS numbers, IPv6, a withdrawal, host bits.
const std::vector<std::string> kTable = {
    entry("10.0.0.0/24", "1 2 3"),         entry("10.0.1.0/24", "1 2 3"),
    entry("10.0.0.0/16", "1 1 2 4"),       entry("20.0.0.5/24", "4 2 1"),
    entry("30.0.0.0/8", "1 2 1"),          entry("0.0.0.0/0", "5 6 {7}"),
    entry("40.0.0.0/8", "3 4200000000 7"), entry("2001:db8::/32", "1 9"),
    entry("60.0.0.0/8", "1 9", "W"),       entry("10.0.0.128/25", "8 0 1"),
    entry("50.0.0.0/16", "1.0 2"),         entry("10.0.1.128/25", "2 3"),
    entry("10.0.2.0/24", "7 2 3"),
};

const char kGraphHeader[] = "ZNG\n1\ntable\n\n8\n5\n1\n2\n3\n4\n5\n6\n7\n8\n";

// classic: AS numbers 1 to 65535 only, as plandrex-import --classic.
std::string convert(const std::vector<std::string>& lines, const RelationshipLookup& lookup,
                    RibCounts* counts = nullptr, bool classic = true) {
  RibGraphBuilder builder(classic);
  for (const std::string& line : lines) {
    builder.addLine(line);
  }
  ASGraph graph;
  builder.build(lookup, graph);
  expectConsistentGraph(graph);
  List<char*> names;
  char name[] = "table";
  names.enqueue(name);
  graph.setSourceFiles(names, true);
  if (counts != nullptr) {
    *counts = builder.counts();
  }
  return writeText(graph);
}

bool noRelationships(std::uint16_t, std::uint16_t, Relationship&) { return false; }

TEST(RibGraphTest, HandMadeTableByteExact) {
  RibCounts counts;
  EXPECT_EQ(convert(kTable, noRelationships, &counts), std::string(kGraphHeader) +
                                                           "1 2 0 0 2 65536 1 256\n"
                                                           "2 3 0 0 3 768 0 0\n"
                                                           "2 4 0 0 1 65536 1 256\n"
                                                           "2 7 0 0 0 0 1 256\n"
                                                           "5 6 0 0 1 4294967296 0 0\n");
  EXPECT_EQ(counts.lines, 13u);
  EXPECT_EQ(counts.tableEntries, 12u);
  EXPECT_EQ(counts.notTableEntry, 1u);
  EXPECT_EQ(counts.notIPv4, 1u);
  EXPECT_EQ(counts.badPrefix, 0u);
  EXPECT_EQ(counts.badAsNumber, 0u);
  EXPECT_EQ(counts.pathLoop, 1u);
  EXPECT_EQ(counts.routes, 10u);
  EXPECT_EQ(counts.cutAtAsSet, 1u);
  EXPECT_EQ(counts.distinctPaths, 9u);
  EXPECT_EQ(counts.pairsDropped, 5u);
  EXPECT_EQ(counts.nodes, 8u);
  EXPECT_EQ(counts.adjacencies, 5u);
  EXPECT_EQ(counts.unoriented, 5u);
  EXPECT_EQ(counts.adjacenciesDropped, 3u);

  // Without --classic the 32-bit AS numbers stay, and only AS 0 drops a pair.
  RibCounts wide;
  EXPECT_EQ(convert(kTable, noRelationships, &wide, false),
            "ZNG32\n1\ntable\n\n10\n8\n1\n2\n3\n4\n5\n6\n7\n8\n65536\n4200000000\n"
            "1 2 0 0 2 65536 1 256\n"
            "2 3 0 0 3 768 0 0\n"
            "2 4 0 0 1 65536 1 256\n"
            "2 7 0 0 0 0 1 256\n"
            "2 65536 0 0 0 0 1 65536\n"
            "3 4200000000 0 0 1 16777216 0 0\n"
            "5 6 0 0 1 4294967296 0 0\n"
            "7 4200000000 0 0 0 0 1 16777216\n");
  EXPECT_EQ(wide.pairsDropped, 2u);
  EXPECT_EQ(wide.nodes, 10u);
  EXPECT_EQ(wide.wideNodes, 2u);
  EXPECT_EQ(wide.adjacencies, 8u);
  EXPECT_EQ(wide.adjacenciesDropped, 0u);
}

TEST(RibGraphTest, RelationshipsOrientFromTheSmallerAs) {
  std::set<std::pair<int, int>> asked;
  RibCounts counts;
  const std::string text = convert(
      kTable,
      [&](std::uint16_t a, std::uint16_t b, Relationship& relationship) {
        asked.insert({a, b});
        const std::map<std::pair<int, int>, Relationship> listed = {
            {{1, 2}, Relationship::kProviderOf},
            {{2, 3}, Relationship::kCustomerOf},
            {{2, 4}, Relationship::kPeering},
            {{2, 7}, Relationship::kUnoriented},
        };
        auto it = listed.find({a, b});
        if (it == listed.end()) {
          relationship = Relationship::kPeering;  // must be ignored
          return false;
        }
        relationship = it->second;
        return true;
      },
      &counts);
  EXPECT_EQ(text, std::string(kGraphHeader) +
                      "1 2 1 1 2 65536 1 256\n"
                      "2 3 1 -1 3 768 0 0\n"
                      "2 4 1 0 1 65536 1 256\n"
                      "2 7 0 0 0 0 1 256\n"
                      "5 6 0 0 1 4294967296 0 0\n");
  EXPECT_EQ(asked, (std::set<std::pair<int, int>>{{1, 2}, {2, 3}, {2, 4}, {2, 7}, {5, 6}}));
  EXPECT_EQ(counts.directed, 2u);
  EXPECT_EQ(counts.peering, 1u);
  EXPECT_EQ(counts.unoriented, 2u);
}

TEST(RibGraphTest, EmptyAndSkippedOnlyTables) {
  EXPECT_EQ(convert({}, noRelationships), "ZNG\n1\ntable\n\n0\n0\n");
  // A lone AS is a node without adjacencies.
  EXPECT_EQ(convert({entry("10.0.0.0/8", "7 7"), entry("10.0.0.0/8", "1 x")}, noRelationships),
            "ZNG\n1\ntable\n\n1\n0\n7\n");
}

// The same tables on every platform.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : bits(seed) {}
  int below(int bound) { return static_cast<int>(bits.next() % static_cast<std::uint64_t>(bound)); }

 private:
  SplitMix64 bits;
};

// The definitions, computed the slow and obvious way from the route as it was
// generated (not from the text): sets of paths and sets of closed intervals.
class Model {
 public:
  // path: the AS numbers before any set, with repeats and loops as generated.
  void add(const std::vector<std::uint64_t>& path, std::uint64_t first, std::uint64_t last) {
    std::vector<std::uint64_t> collapsed;
    for (std::uint64_t as : path) {
      if (collapsed.empty() || collapsed.back() != as) {
        collapsed.push_back(as);
      }
    }
    if (std::set<std::uint64_t>(collapsed.begin(), collapsed.end()).size() != collapsed.size()) {
      return;  // loop
    }
    for (std::uint64_t as : collapsed) {
      if (as >= 1 && as <= 65535) {
        nodes.insert(as);
      }
    }
    for (std::size_t i = 0; i + 1 < collapsed.size(); ++i) {
      const std::uint64_t x = collapsed[i];
      const std::uint64_t y = collapsed[i + 1];
      if (x >= 1 && x <= 65535 && y >= 1 && y <= 65535) {
        paths[{x, y}].insert(collapsed);
        intervals[{x, y}].insert({first, last});
      }
    }
  }

  std::uint64_t addresses(std::uint64_t x, std::uint64_t y) const {
    auto it = intervals.find({x, y});
    if (it == intervals.end()) {
      return 0;
    }
    std::uint64_t total = 0;
    std::uint64_t start = 0;
    std::uint64_t end = 0;
    bool open = false;
    for (const auto& interval : it->second) {
      if (open && interval.first <= end + 1) {
        end = std::max(end, interval.second);
        continue;
      }
      if (open) {
        total += end - start + 1;
      }
      start = interval.first;
      end = interval.second;
      open = true;
    }
    return open ? total + end - start + 1 : total;
  }

  std::uint32_t pathCount(std::uint64_t x, std::uint64_t y) const {
    auto it = paths.find({x, y});
    return it == paths.end() ? 0 : static_cast<std::uint32_t>(it->second.size());
  }

  std::set<std::uint64_t> nodes;
  std::map<std::pair<std::uint64_t, std::uint64_t>, std::set<std::vector<std::uint64_t>>> paths;
  std::map<std::pair<std::uint64_t, std::uint64_t>,
           std::set<std::pair<std::uint64_t, std::uint64_t>>>
      intervals;
};

TEST(RibGraphTest, AgreesWithAModelOnRandomTables) {
  // Few AS numbers, so that adjacencies are traversed both ways and paths
  // repeat; 0, 70000 and 1.1 (65537) are outside the graph's range.
  const char* const tokens[] = {"1", "2", "3", "4", "5", "6", "0", "70000", "1.1", "0.6"};
  const std::uint64_t values[] = {1, 2, 3, 4, 5, 6, 0, 70000, 65537, 6};
  for (std::uint64_t seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Rng rng(seed);
    Model model;
    RibGraphBuilder builder(true);
    for (int route = rng.below(120); route > 0; --route) {
      // Prefixes inside 10.0.0.0/20, with now and then the default route.
      const int length = rng.below(25) == 0 ? 0 : 20 + rng.below(13);
      const std::uint64_t size = std::uint64_t{1} << (32 - length);
      const std::uint64_t address = length == 0 ? rng.below(256) : 0x0A000000 + rng.below(4096);
      const std::uint64_t first = address - address % size;
      std::string text;
      std::vector<std::uint64_t> path;
      for (int hop = rng.below(6); hop > 0; --hop) {
        const int pick = rng.below(10) < 8 ? rng.below(6) : 6 + rng.below(4);
        for (int repeat = rng.below(4) == 0 ? 2 : 1; repeat > 0; --repeat) {
          text += std::string(tokens[pick]) + " ";
          path.push_back(values[pick]);
        }
      }
      if (rng.below(10) == 0) {
        text += "{7,8} 9";
      }
      const std::string prefix = std::to_string(address >> 24) + "." +
                                 std::to_string((address >> 16) & 255) + "." +
                                 std::to_string((address >> 8) & 255) + "." +
                                 std::to_string(address & 255) + "/" + std::to_string(length);
      builder.addLine(entry(prefix, text));
      model.add(path, first, first + size - 1);
    }
    ASGraph graph;
    builder.build(noRelationships, graph);
    expectConsistentGraph(graph);
    ASSERT_EQ(graph.nodes(), model.nodes.size());
    std::set<std::pair<std::uint64_t, std::uint64_t>> adjacencies;
    for (const auto& traversal : model.paths) {
      adjacencies.insert({std::min(traversal.first.first, traversal.first.second),
                          std::max(traversal.first.first, traversal.first.second)});
    }
    ASSERT_EQ(graph.edges(), adjacencies.size());
    for (const auto& adjacency : adjacencies) {
      const std::uint64_t a = adjacency.first;
      const std::uint64_t b = adjacency.second;
      SCOPED_TRACE(std::to_string(a) + " " + std::to_string(b));
      ASGraph::graph_edge* view =
          graph.edgeProperties(static_cast<unsigned short>(a), static_cast<unsigned short>(b));
      ASSERT_NE(view, nullptr);
      EXPECT_EQ(view->fwdWeight->pathCovering[0], model.pathCount(a, b));
      EXPECT_EQ(view->fwdWeight->ipCovering[0], model.addresses(a, b));
      EXPECT_EQ(view->revWeight->pathCovering[0], model.pathCount(b, a));
      EXPECT_EQ(view->revWeight->ipCovering[0], model.addresses(b, a));
      EXPECT_FALSE(view->fwdWeight->oriented);
      EXPECT_EQ(*view->dir, dir_none);
      ASGraph::freeView(view);
    }
    if (::testing::Test::HasFailure()) {
      return;
    }
  }
}

}  // namespace
