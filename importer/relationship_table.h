#ifndef IMPORTER_RELATIONSHIP_TABLE_H_
#define IMPORTER_RELATIONSHIP_TABLE_H_

#include <cstdint>
#include <vector>

#include "asgraph/as_number.h"
#include "importer/relationship.h"

class ASGraph;

// The adjacencies of a relationship or link file, with the merge rules for
// pairs that occur more than once: every occurrence is taken as seen from
// the smaller AS number, occurrences that agree make one adjacency, and
// occurrences that disagree make one unoriented adjacency. The result does
// not depend on the order of the occurrences.
//
// Collect with add(), then call finish() once; the queries below are valid
// only after finish().
class RelationshipTable {
 public:
  // One occurrence of the adjacency {first, second}, with its relationship
  // seen from first. first == second is a self-loop.
  void add(ASNumber first, ASNumber second, Relationship relationship);
  // Merges the occurrences; later calls do nothing. Further add() calls are
  // not allowed.
  void finish();

  // The merged relationship of {first, second}, seen from first. false: the
  // adjacency is not in the table.
  bool lookup(ASNumber first, ASNumber second, Relationship& relationship) const;

  std::uint64_t adjacencies() const { return merged.size(); }
  // Occurrences beyond the first of each adjacency.
  std::uint64_t duplicatesMerged() const { return duplicates; }
  // Adjacencies whose occurrences disagreed, now unoriented.
  std::uint64_t conflicts() const { return conflicting; }
  std::uint64_t selfLoops() const { return loops; }
  // Adjacencies per class: peering, directed (provider and customer), unoriented.
  std::uint64_t peering() const { return countOf(Relationship::kPeering); }
  std::uint64_t directed() const {
    return countOf(Relationship::kProviderOf) + countOf(Relationship::kCustomerOf);
  }
  std::uint64_t unoriented() const { return countOf(Relationship::kUnoriented); }

  // Calls visit(smaller, larger, relationship seen from smaller) for every
  // adjacency, ascending by (smaller, larger).
  template <class Visit>
  void forEach(Visit visit) const {
    for (const Entry& entry : merged) {
      visit(static_cast<ASNumber>(entry.pair >> 32), static_cast<ASNumber>(entry.pair),
            entry.relationship);
    }
  }

  // Adds every adjacency to graph, whose nodes must include all endpoints:
  // p2c directed from the provider, peering oriented without a direction,
  // the rest unoriented. Covering values are 0.
  void addTo(ASGraph& graph) const;

 private:
  std::uint64_t countOf(Relationship kind) const;

  // One occurrence or one merged adjacency: the smaller AS in the high half
  // of pair, the larger in the low half, and the relationship seen from the
  // smaller, so that sorting orders by pair first.
  struct Entry {
    std::uint64_t pair;
    Relationship relationship;
    bool operator<(const Entry& other) const {
      return pair != other.pair ? pair < other.pair : relationship < other.relationship;
    }
    bool operator!=(const Entry& other) const {
      return pair != other.pair || relationship != other.relationship;
    }
  };
  std::vector<Entry> occurrences;
  std::vector<Entry> merged;
  std::uint64_t duplicates = 0;
  std::uint64_t conflicting = 0;
  std::uint64_t loops = 0;
  bool finished = false;
};

#endif  // IMPORTER_RELATIONSHIP_TABLE_H_
