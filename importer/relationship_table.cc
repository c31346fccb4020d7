#include "importer/relationship_table.h"

#include <algorithm>

#include "asgraph/as_graph.h"

namespace {

std::uint64_t pairOf(ASNumber smaller, ASNumber larger) {
  return (static_cast<std::uint64_t>(smaller) << 32) | larger;
}

// Two occurrences of one pair. A self-loop seen from its other end is itself:
// "provider of itself" and "customer of itself" (a line and its mirror in a
// format that lists both) are one link, kept in the sorted first form,
// provider.
bool sameLink(Relationship one, Relationship other, bool loop) {
  return one == other || (loop && one == seenFromOtherEnd(other));
}

}  // namespace

void RelationshipTable::add(ASNumber first, ASNumber second, Relationship relationship) {
  if (first > second) {
    occurrences.push_back(Entry{pairOf(second, first), seenFromOtherEnd(relationship)});
  } else {
    occurrences.push_back(Entry{pairOf(first, second), relationship});
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
    const Entry first = occurrences[i];
    const bool loop = (first.pair >> 32) == (first.pair & 0xffffffffu);
    std::size_t j = i + 1;
    bool disagree = false;
    while (j < occurrences.size() && occurrences[j].pair == first.pair) {
      disagree = disagree || !sameLink(occurrences[j].relationship, first.relationship, loop);
      ++j;
    }
    duplicates += j - i - 1;
    if (disagree) {
      ++conflicting;
      merged.push_back(Entry{first.pair, Relationship::kUnoriented});
    } else {
      merged.push_back(first);
    }
    if (loop) {
      ++loops;
    }
    i = j;
  }
  std::vector<Entry>().swap(occurrences);
}

bool RelationshipTable::lookup(ASNumber first, ASNumber second, Relationship& relationship) const {
  const bool swapped = first > second;
  const std::uint64_t pair = swapped ? pairOf(second, first) : pairOf(first, second);
  auto found =
      std::lower_bound(merged.begin(), merged.end(), pair,
                       [](const Entry& entry, std::uint64_t key) { return entry.pair < key; });
  if (found == merged.end() || found->pair != pair) {
    return false;
  }
  const Relationship stored = found->relationship;
  relationship = swapped ? seenFromOtherEnd(stored) : stored;
  return true;
}

std::uint64_t RelationshipTable::countOf(Relationship kind) const {
  return static_cast<std::uint64_t>(
      std::count_if(merged.begin(), merged.end(),
                    [kind](const Entry& entry) { return entry.relationship == kind; }));
}

void RelationshipTable::addTo(ASGraph& graph) const {
  ASEdgeWeight forward;
  ASEdgeWeight reverse;
  forEach([&](ASNumber smaller, ASNumber larger, Relationship relationship) {
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
