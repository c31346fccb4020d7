#ifndef IMPORTER_RIB_GRAPH_H_
#define IMPORTER_RIB_GRAPH_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "asgraph/as_number.h"
#include "graph/seeded_hash.h"
#include "importer/bgpdump_route.h"
#include "importer/relationship.h"

class ASGraph;

// The relationship of the adjacency {smaller, larger} seen from smaller;
// false when the relationship data does not list the adjacency.
using RelationshipLookup =
    std::function<bool(ASNumber smaller, ASNumber larger, Relationship& relationship)>;

// Counts of one conversion, for the report on standard error.
struct RibCounts {
  std::uint64_t lines = 0;
  std::uint64_t tableEntries = 0;   // lines whose third field is "B"
  std::uint64_t notTableEntry = 0;  // skipped: other lines
  std::uint64_t notIPv4 = 0;        // skipped: IPv6 prefixes
  std::uint64_t badPrefix = 0;      // skipped: no path field or no IPv4 prefix
  std::uint64_t badAsNumber = 0;    // skipped: a path token that is not an AS number
  std::uint64_t pathLoop = 0;       // skipped: AS path loops
  std::uint64_t routes = 0;         // kept routes
  std::uint64_t cutAtAsSet = 0;     // kept routes whose path ended at an AS set
  std::uint64_t distinctPaths = 0;  // distinct collapsed paths of the kept routes
  std::uint64_t pairsDropped = 0;   // pairs with an AS number out of range, per route
  std::uint64_t nodes = 0;
  std::uint64_t wideNodes = 0;  // nodes above 65535
  std::uint64_t adjacencies = 0;
  std::uint64_t adjacenciesDropped = 0;  // classic only: adjacencies with a number above 65535
  std::uint64_t peering = 0;
  std::uint64_t directed = 0;
  std::uint64_t unoriented = 0;
  // MRT input only (the lines above count its table entries as a line each).
  std::uint64_t mrtRecords = 0;
  std::uint64_t mrtRecordsSkipped = 0;  // of a type or subtype that holds no routes read here
  std::uint64_t mrtPrefixesCut = 0;     // last prefixes of an UPDATE cut by the end of their field
};

// Aggregates the routes of one or more routing tables into AS adjacencies
// with, per direction of traversal X towards Y, the path covering value (the
// number of distinct collapsed paths that traverse it from X towards Y) and
// the IP-address covering value (the number of addresses in the union of the
// prefixes of all routes that traverse it from X towards Y).
class RibGraphBuilder {
 public:
  // classic: AS numbers 1 to 65535 only (a pair with a larger one is
  // dropped); otherwise 1 to 4294967295. announcements: UPDATE
  // announcements are routes too, not only table entries.
  explicit RibGraphBuilder(bool classic = false, bool announcements = false)
      : classicOnly(classic), takesAnnouncements(announcements) {}
  bool classic() const { return classicOnly; }
  bool announcements() const { return takesAnnouncements; }

  // Classifies and counts one line (without its line end) and takes it in
  // when it is a usable route.
  void addLine(std::string_view line);
  // Counts an entry classified elsewhere (as addLine would have classified
  // its line) and takes route in when the verdict is RouteVerdict::route.
  void addEntry(RouteVerdict verdict, const BgpdumpRoute& route);
  RibCounts& mutableCounts() { return tally; }
  // Takes in a route that parseBgpdumpLine accepted.
  void addRoute(const BgpdumpRoute& route);

  // Adds the nodes and adjacencies to graph (its names and comment are left
  // alone) and completes the counts. An adjacency that lookup lists takes
  // its relationship (provider to customer: directed from the provider;
  // peering: oriented without a direction); the others stay unoriented.
  // Call once, after the last line.
  void build(const RelationshipLookup& lookup, ASGraph& graph);

  const RibCounts& counts() const { return tally; }

 private:
  // One route's prefix on one adjacency traversal; directed is
  // X * 2^32 + Y for the traversal from X towards Y.
  struct Traversal {
    std::uint64_t directed;
    std::uint32_t first;
    std::uint32_t last;
  };

  bool classicOnly;
  bool takesAnnouncements;
  RibCounts tally;
  // The prefix of the routes just taken and their distinct paths: the same
  // prefix seen again on the same path (another peer's copy of the route)
  // adds nothing to the address unions, so its traversals are not stored
  // and memory follows the table's paths and prefixes, not its peers.
  std::uint32_t recentNetwork = 0;
  int recentLength = -1;
  std::vector<const std::string*> recentPaths;
  BgpdumpRoute scratchRoute;  // reused by addLine
  std::string pathKey;        // reused: the packed path being looked up
  // Paths and AS numbers come from the table's author: a hash they cannot aim
  // at keeps crafted numbers from sharing one bucket.
  std::unordered_set<std::string, SeededHash> seenPaths;
  std::unordered_map<std::uint64_t, std::uint32_t, SeededHash> pathCovering;
  std::vector<Traversal> traversals;
  std::vector<bool> isNode = std::vector<bool>(kLargestClassicASNumber + 1, false);
  std::unordered_set<ASNumber, SeededHash> wideNodes;
  // Classic only: the adjacencies dropped, smaller AS * 2^32 + larger.
  std::unordered_set<std::uint64_t, SeededHash> droppedPairs;
};

#endif  // IMPORTER_RIB_GRAPH_H_
