#ifndef IMPORTER_RELATIONSHIP_TABLE_H_
#define IMPORTER_RELATIONSHIP_TABLE_H_

#include <cstdint>
#include <vector>

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
  void add(std::uint16_t first, std::uint16_t second, Relationship relationship);
  // Merges the occurrences; later calls do nothing. Further add() calls are
  // not allowed.
  void finish();

  // The merged relationship of {first, second}, seen from first. false: the
  // adjacency is not in the table.
  bool lookup(std::uint16_t first, std::uint16_t second, Relationship& relationship) const;

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
    for (std::uint64_t entry : merged) {
      visit(static_cast<std::uint16_t>(entry >> 18), static_cast<std::uint16_t>(entry >> 2),
            static_cast<Relationship>(entry & 3));
    }
  }

  // Adds every adjacency to graph, whose nodes must include all endpoints:
  // p2c directed from the provider, peering oriented without a direction,
  // the rest unoriented. Covering values are 0.
  void addTo(ASGraph& graph) const;

 private:
  std::uint64_t countOf(Relationship kind) const;

  // One occurrence or one merged adjacency: smaller AS in bits 18-33, larger
  // AS in bits 2-17, relationship seen from the smaller in bits 0-1, so that
  // sorting orders by pair first.
  std::vector<std::uint64_t> occurrences;
  std::vector<std::uint64_t> merged;
  std::uint64_t duplicates = 0;
  std::uint64_t conflicting = 0;
  std::uint64_t loops = 0;
  bool finished = false;
};

#endif  // IMPORTER_RELATIONSHIP_TABLE_H_
