#include "asgraph/as_edge_weight.h"

#include <gtest/gtest.h>

#include <type_traits>

#include "tests/support/as_record_checks.h"

namespace {

TEST(ASEdgeWeightTest, DefaultRecord) {
  ASEdgeWeight w;
  EXPECT_FALSE(w.oriented);
  EXPECT_EQ(w.comparedGraphs, 1);
  EXPECT_EQ(w.orientationRun, 1);
  EXPECT_EQ(w.incomingEdges + w.outgoingEdges + w.undirectedEdges + w.unorientedEdges +
                w.orientationChanges,
            0);
  EXPECT_EQ(w.orientationStability, 0.0f);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(w.pathCovering[i], 0u);
    EXPECT_EQ(w.ipCovering[i], 0u);
    EXPECT_FALSE(w.srcOriented[i]);
    EXPECT_EQ(w.srcDirection[i], dir_none);
  }
}

// Every stored adjacency holds four of these: a field added or reordered
// carelessly costs a graph of 4,000,000 adjacencies hundreds of megabytes.
TEST(ASEdgeWeightTest, RecordStaysSmallAndPlain) {
  EXPECT_LE(sizeof(ASEdgeWeight), 48u);
  EXPECT_TRUE(std::is_trivially_copyable<ASEdgeWeight>::value);
  EXPECT_TRUE(std::is_trivially_destructible<ASEdgeWeight>::value);
}

TEST(ASEdgeWeightTest, CopyAndAssignmentReproduceEveryField) {
  ASEdgeWeight w;
  w.oriented = true;
  w.pathCovering[0] = 1;
  w.pathCovering[1] = 4294967295u;
  w.ipCovering[0] = 3;
  w.ipCovering[1] = 18446744073709551615ull;
  w.srcOriented[1] = true;
  w.srcDirection[0] = dir_backward;
  w.srcDirection[1] = dir_forward;
  w.comparedGraphs = 7;
  w.incomingEdges = 8;
  w.outgoingEdges = 9;
  w.undirectedEdges = 10;
  w.unorientedEdges = 11;
  w.orientationRun = 12;
  w.orientationStability = 2.5f;
  w.orientationChanges = 13;

  ASEdgeWeight copied(w);
  expectSameRecord(w, copied);
  ASEdgeWeight assigned;
  assigned = w;
  expectSameRecord(w, assigned);
}

TEST(ASEdgeWeightTest, CountersWrapAt65536) {
  ASEdgeWeight w;
  w.orientationChanges = 65535;
  ++w.orientationChanges;
  EXPECT_EQ(w.orientationChanges, 0);
}

}  // namespace
