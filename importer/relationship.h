#ifndef IMPORTER_RELATIONSHIP_H_
#define IMPORTER_RELATIONSHIP_H_

// The business relationship of an AS adjacency, as seen from one of its two
// ends ("this AS"). Unoriented covers siblings, links of unknown type and
// plain links, which say nothing about the relationship.
enum class Relationship : unsigned char {
  kUnoriented = 0,
  kPeering = 1,
  kProviderOf = 2,  // this AS is the other's provider
  kCustomerOf = 3,  // this AS is the other's customer
};

// The same relationship seen from the other end.
inline Relationship seenFromOtherEnd(Relationship relationship) {
  switch (relationship) {
    case Relationship::kProviderOf:
      return Relationship::kCustomerOf;
    case Relationship::kCustomerOf:
      return Relationship::kProviderOf;
    default:
      return relationship;
  }
}

#endif  // IMPORTER_RELATIONSHIP_H_
