#ifndef ENGINE_DIFF_TYPE_H_
#define ENGINE_DIFF_TYPE_H_

#include <cstdint>

// The counters of one two-graph comparison, printed by the driver as the statistics report.
// "1st" and "2nd" name the first and the second input graph. nodeCmp fills the three node
// counters and makeDiffGraph the eighteen edge counters; each zeroes its own share first, so the
// record needs no initialisation of its own.
struct diff_type {
  std::uint32_t nodesOnlyIn1st;
  std::uint32_t nodesOnlyIn2nd;
  std::uint32_t commonNodes;
  std::uint32_t edgesOnlyIn1st;
  std::uint32_t edgesOnlyIn2nd;
  std::uint32_t commonEdges;
  std::uint32_t peering1st;
  std::uint32_t peering2nd;
  std::uint32_t directed1st;
  std::uint32_t directed2nd;
  std::uint32_t unoriented1st;
  std::uint32_t unoriented2nd;
  // Over the common edges that are oriented in both graphs: directions differ, are opposite
  // (directed both ways), or are equal.
  std::uint32_t differentlyDirected;
  std::uint32_t oppositelyDirected;
  std::uint32_t consistentlyDirected;
  std::uint32_t peeringOnlyIn1st;
  std::uint32_t peeringOnlyIn2nd;
  std::uint32_t directedOnlyIn1st;
  std::uint32_t directedOnlyIn2nd;
  std::uint32_t unorientedOnlyIn1st;
  std::uint32_t unorientedOnlyIn2nd;
};

#endif  // ENGINE_DIFF_TYPE_H_
