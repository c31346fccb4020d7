#include "importer/rib_graph.h"

#include <algorithm>

#include "asgraph/as_edge_weight.h"
#include "asgraph/as_graph.h"
#include "iptools/ip_address.h"
#include "iptools/ip_sub_space.h"

namespace {

IPAddress addressOf(std::uint32_t value) {
  return IPAddress(static_cast<unsigned char>(value >> 24), static_cast<unsigned char>(value >> 16),
                   static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value));
}

// Covering values of one direction of traversal.
struct DirectedCovering {
  std::uint64_t directed;
  std::uint32_t paths;
  std::uint64_t addresses;
};

const DirectedCovering* findDirected(const std::vector<DirectedCovering>& sorted,
                                     std::uint64_t directed) {
  auto it = std::lower_bound(
      sorted.begin(), sorted.end(), directed,
      [](const DirectedCovering& c, std::uint64_t key) { return c.directed < key; });
  return it != sorted.end() && it->directed == directed ? &*it : nullptr;
}

void applyRelationship(Relationship relationship, ASEdgeWeight& forward, ASEdgeWeight& backward,
                       edge_dir& direction) {
  direction = dir_none;
  switch (relationship) {
    case Relationship::kPeering:
      forward.oriented = backward.oriented = true;
      break;
    case Relationship::kProviderOf:
      forward.oriented = backward.oriented = true;
      direction = dir_forward;
      break;
    case Relationship::kCustomerOf:
      forward.oriented = backward.oriented = true;
      direction = dir_backward;
      break;
    default:
      forward.oriented = backward.oriented = false;
      break;
  }
}

}  // namespace

void RibGraphBuilder::addLine(std::string_view line) {
  ++tally.lines;
  addEntry(parseBgpdumpLine(line, scratchRoute, takesAnnouncements), scratchRoute);
}

void RibGraphBuilder::addEntry(RouteVerdict verdict, const BgpdumpRoute& route) {
  if (verdict != RouteVerdict::notTableEntry) {
    ++tally.tableEntries;
  }
  switch (verdict) {
    case RouteVerdict::route:
      addRoute(route);
      break;
    case RouteVerdict::notTableEntry:
      ++tally.notTableEntry;
      break;
    case RouteVerdict::notIPv4:
      ++tally.notIPv4;
      break;
    case RouteVerdict::badPrefix:
      ++tally.badPrefix;
      break;
    case RouteVerdict::badAsNumber:
      ++tally.badAsNumber;
      break;
    case RouteVerdict::pathLoop:
      ++tally.pathLoop;
      break;
  }
}

void RibGraphBuilder::addRoute(const BgpdumpRoute& route) {
  ++tally.routes;
  if (route.cutAtAsSet) {
    ++tally.cutAtAsSet;
  }
  pathKey.clear();
  for (std::uint32_t as : route.path) {
    const char bytes[4] = {static_cast<char>(as >> 24), static_cast<char>(as >> 16),
                           static_cast<char>(as >> 8), static_cast<char>(as)};
    pathKey.append(bytes, 4);
    if (as < kSmallestASNumber) {
      continue;
    }
    if (!isWideASNumber(as)) {
      isNode[as] = true;
    } else if (!classicOnly) {
      wideNodes.insert(as);
    }
  }
  const auto inserted = seenPaths.insert(pathKey);
  const bool newPath = inserted.second;
  if (newPath) {
    ++tally.distinctPaths;
  }
  if (route.network != recentNetwork || route.length != recentLength) {
    recentNetwork = route.network;
    recentLength = route.length;
    recentPaths.clear();
  }
  // A prefix with very many paths is left undeduplicated rather than scanned
  // quadratically.
  constexpr std::size_t kRecentPathsScanned = 64;
  const std::string* pathId = &*inserted.first;
  bool repeated = false;
  if (recentPaths.size() < kRecentPathsScanned) {
    repeated = std::find(recentPaths.begin(), recentPaths.end(), pathId) != recentPaths.end();
    if (!repeated) {
      recentPaths.push_back(pathId);
    }
  }
  const std::uint32_t last =
      route.network + static_cast<std::uint32_t>((std::uint64_t{1} << (32 - route.length)) - 1);
  for (std::size_t i = 0; i + 1 < route.path.size(); ++i) {
    const std::uint32_t from = route.path[i];
    const std::uint32_t to = route.path[i + 1];
    if (from < kSmallestASNumber || to < kSmallestASNumber) {
      ++tally.pairsDropped;
      continue;
    }
    if (classicOnly && (isWideASNumber(from) || isWideASNumber(to))) {
      ++tally.pairsDropped;
      droppedPairs.insert(std::uint64_t{std::min(from, to)} << 32 | std::max(from, to));
      continue;
    }
    const std::uint64_t directed = std::uint64_t{from} << 32 | to;
    if (newPath) {
      ++pathCovering[directed];
    }
    if (!repeated) {
      traversals.push_back(Traversal{directed, route.network, last});
    }
  }
}

void RibGraphBuilder::build(const RelationshipLookup& lookup, ASGraph& graph) {
  std::sort(traversals.begin(), traversals.end(), [](const Traversal& a, const Traversal& b) {
    if (a.directed != b.directed) {
      return a.directed < b.directed;
    }
    return a.first != b.first ? a.first < b.first : a.last < b.last;
  });
  std::vector<DirectedCovering> coverings;
  for (std::size_t i = 0; i < traversals.size();) {
    const std::uint64_t directed = traversals[i].directed;
    IPSubSpace covered;
    for (; i < traversals.size() && traversals[i].directed == directed; ++i) {
      covered.appendInterval(
          IPSubSpace::IPInterval(addressOf(traversals[i].first), addressOf(traversals[i].last)));
    }
    coverings.push_back(DirectedCovering{directed, pathCovering[directed], covered.addresses()});
  }
  // Release the working sets before the graph grows.
  std::vector<Traversal>().swap(traversals);
  decltype(pathCovering)().swap(pathCovering);
  recentPaths.clear();
  recentLength = -1;
  decltype(seenPaths)().swap(seenPaths);

  for (ASNumber as = kSmallestASNumber; as <= kLargestClassicASNumber; ++as) {
    if (isNode[as]) {
      graph.addNode(as, as);
      ++tally.nodes;
    }
  }
  std::vector<ASNumber> wide(wideNodes.begin(), wideNodes.end());
  std::sort(wide.begin(), wide.end());
  for (const ASNumber as : wide) {
    graph.addNode(as, as);
  }
  tally.nodes += wide.size();
  tally.wideNodes = wide.size();
  tally.adjacenciesDropped = droppedPairs.size();
  const DirectedCovering none{0, 0, 0};
  ASEdgeWeight forward;
  ASEdgeWeight backward;
  for (const DirectedCovering& covering : coverings) {
    const auto from = static_cast<ASNumber>(covering.directed >> 32);
    const auto to = static_cast<ASNumber>(covering.directed);
    const std::uint64_t reversed = std::uint64_t{to} << 32 | from;
    const DirectedCovering* other = findDirected(coverings, reversed);
    if (from > to && other != nullptr) {
      continue;  // written when the traversal from the smaller AS came by
    }
    const bool fromSmaller = from < to;
    const DirectedCovering& ascending = fromSmaller ? covering : (other ? *other : none);
    const DirectedCovering& descending = fromSmaller ? (other ? *other : none) : covering;
    const ASNumber smaller = fromSmaller ? from : to;
    const ASNumber larger = fromSmaller ? to : from;
    forward.pathCovering[0] = ascending.paths;
    forward.ipCovering[0] = ascending.addresses;
    backward.pathCovering[0] = descending.paths;
    backward.ipCovering[0] = descending.addresses;
    edge_dir direction = dir_none;
    Relationship relationship = Relationship::kUnoriented;
    if (!lookup(smaller, larger, relationship)) {
      relationship = Relationship::kUnoriented;
    }
    applyRelationship(relationship, forward, backward, direction);
    graph.addEdge(smaller, larger, direction, forward, backward);
    ++tally.adjacencies;
    if (!forward.oriented) {
      ++tally.unoriented;
    } else if (direction == dir_none) {
      ++tally.peering;
    } else {
      ++tally.directed;
    }
  }
}
