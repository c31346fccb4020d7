#include "importer/relationship_table.h"

#include <algorithm>

#include "asgraph/as_graph.h"

namespace {

constexpr std::uint64_t kRelationshipBits = 3;

std::uint64_t pairOf(std::uint64_t entry) { return entry >> 2; }

std::uint64_t encode(std::uint16_t smaller, std::uint16_t larger, Relationship relationship) {
  return (static_cast<std::uint64_t>(smaller) << 18) | (static_cast<std::uint64_t>(larger) << 2) |
         static_cast<std::uint64_t>(relationship);
}

// Two occurrences of one pair. A self-loop seen from its other end is itself:
// "provider of itself" and "customer of itself" (a line and its mirror in a
// format that lists both) are one link, kept in the sorted first form,
// provider.
bool sameLink(std::uint64_t a, std::uint64_t b, bool loop) {
  if (a == b) {
    return true;
  }
  const auto one = static_cast<Relationship>(a & kRelationshipBits);
  const auto other = static_cast<Relationship>(b & kRelationshipBits);
  return loop && one == seenFromOtherEnd(other);
}

}  // namespace

void RelationshipTable::add(std::uint16_t first, std::uint16_t second, Relationship relationship) {
  if (first > second) {
    occurrences.push_back(encode(second, first, seenFromOtherEnd(relationship)));
  } else {
    occurrences.push_back(encode(first, second, relationship));
  }
}

void RelationshipTable::finish() {
  if (finished) {
    return;
  }
  finished = true;
  // Sorting puts every pair's occurrences next to each other, so the merge
  // cannot depend on the order in which they were read.
  std::sort(occurrences.begin(), occurrences.end());
  merged.clear();
  merged.reserve(occurrences.size());
  std::size_t i = 0;
  while (i < occurrences.size()) {
    const std::uint64_t first = occurrences[i];
    const std::uint64_t pair = pairOf(first);
    const bool loop = (pair >> 16) == (pair & 0xffff);
    std::size_t j = i + 1;
    bool disagree = false;
    while (j < occurrences.size() && pairOf(occurrences[j]) == pair) {
      disagree = disagree || !sameLink(occurrences[j], first, loop);
      ++j;
    }
    duplicates += j - i - 1;
    if (disagree) {
      ++conflicting;
      merged.push_back(first & ~kRelationshipBits);  // unoriented
    } else {
      merged.push_back(first);
    }
    if (loop) {
      ++loops;
    }
    i = j;
  }
  std::vector<std::uint64_t>().swap(occurrences);
}

bool RelationshipTable::lookup(std::uint16_t first, std::uint16_t second,
                               Relationship& relationship) const {
  const bool swapped = first > second;
  const std::uint64_t key = swapped ? encode(second, first, Relationship::kUnoriented)
                                    : encode(first, second, Relationship::kUnoriented);
  auto found = std::lower_bound(merged.begin(), merged.end(), key);
  if (found == merged.end() || pairOf(*found) != pairOf(key)) {
    return false;
  }
  const auto stored = static_cast<Relationship>(*found & kRelationshipBits);
  relationship = swapped ? seenFromOtherEnd(stored) : stored;
  return true;
}

std::uint64_t RelationshipTable::countOf(Relationship kind) const {
  return static_cast<std::uint64_t>(
      std::count_if(merged.begin(), merged.end(), [kind](std::uint64_t entry) {
        return static_cast<Relationship>(entry & kRelationshipBits) == kind;
      }));
}

void RelationshipTable::addTo(ASGraph& graph) const {
  ASEdgeWeight forward;
  ASEdgeWeight reverse;
  forEach([&](std::uint16_t smaller, std::uint16_t larger, Relationship relationship) {
    edge_dir direction = dir_none;
    if (relationship == Relationship::kProviderOf) {
      direction = dir_forward;
    } else if (relationship == Relationship::kCustomerOf) {
      direction = dir_backward;
    }
    forward.oriented = relationship != Relationship::kUnoriented;
    reverse.oriented = forward.oriented;
    graph.addEdge(smaller, larger, direction, forward, reverse);
  });
}
