#include "engine/edge_conditions.h"

#include "engine/condition_letters.h"
#include "engine/edge_class.h"

namespace {

constexpr int kOverLetters = kOverOriented1st | kOverOriented2nd | kOverOppositeDirections |
                             kOverDifferentOrientations | kOverPeering1st | kOverPeering2nd |
                             kOverDirected1st | kOverDirected2nd | kOverUnoriented1st |
                             kOverUnoriented2nd | kOverWeightDiffers | kOverAnyway;

constexpr int kCompLetters = kCompUnoriented1st | kCompPeering1st | kCompDirected1st |
                             kCompOriented1st | kCompOnlyIn1st | kCompUnoriented2nd |
                             kCompPeering2nd | kCompDirected2nd | kCompOriented2nd | kCompOnlyIn2nd;

// The letters are tested once per edge, into one mask of the letters that hold; an item then
// holds when none of its letters is missing from that mask. Bits outside the option's table name
// no letter and test nothing.
bool anyItemHolds(List<int>& conditions, int holding, int letters) {
  conditions.goToFirst();
  if (conditions.isEmpty()) {
    return false;
  }
  const int missing = letters & ~holding;
  bool result = false;
  do {
    result = result || (conditions.current() & missing) == 0;
  } while (conditions.next());
  return result;
}

int classLetters(edge_class cls, int unoriented, int oriented, int peering, int directed) {
  switch (cls) {
    case class_unoriented:
      return unoriented;
    case class_peering:
      return oriented | peering;
    case class_directed:
      return oriented | directed;
  }
  return 0;
}

bool coveringDiffers(const ASEdgeWeight& a, const ASEdgeWeight& b) {
  return a.pathCovering[0] != b.pathCovering[0] || a.pathCovering[1] != b.pathCovering[1] ||
         a.ipCovering[0] != b.ipCovering[0] || a.ipCovering[1] != b.ipCovering[1];
}

}  // namespace

bool isDiffGraphEdge(ASGraph::graph_edge* e1, ASGraph::graph_edge* e2, ASGraph& /*diffGraph*/,
                     List<int>& conditions) {
  const edge_class class1 = edgeClass(e1);
  const edge_class class2 = edgeClass(e2);
  int holding = kOverAnyway;
  holding |=
      classLetters(class1, kOverUnoriented1st, kOverOriented1st, kOverPeering1st, kOverDirected1st);
  holding |=
      classLetters(class2, kOverUnoriented2nd, kOverOriented2nd, kOverPeering2nd, kOverDirected2nd);
  if (class1 != class_unoriented && class2 != class_unoriented) {
    const edge_dir dir1 = *e1->dir;
    const edge_dir dir2 = *e2->dir;
    // reverse(dir_none) is dir_none, so two peering edges must not pass as opposite.
    if (dir1 != dir_none && dir1 == reverse(dir2)) {
      holding |= kOverOppositeDirections;
    }
    if (dir1 != dir2) {
      holding |= kOverDifferentOrientations;
    }
  }
  if (coveringDiffers(*e1->fwdWeight, *e2->fwdWeight)) {
    holding |= kOverWeightDiffers;
  }
  return anyItemHolds(conditions, holding, kOverLetters);
}

bool isCmpGraphEdge(ASGraph::graph_edge* e, ASGraph& /*diffGraph*/, List<int>& conditions,
                    bool first) {
  const edge_class cls = edgeClass(e);
  const int holding = first
                          ? kCompOnlyIn1st | classLetters(cls, kCompUnoriented1st, kCompOriented1st,
                                                          kCompPeering1st, kCompDirected1st)
                          : kCompOnlyIn2nd | classLetters(cls, kCompUnoriented2nd, kCompOriented2nd,
                                                          kCompPeering2nd, kCompDirected2nd);
  return anyItemHolds(conditions, holding, kCompLetters);
}
