#ifndef ASGRAPH_AS_EDGE_WEIGHT_H_
#define ASGRAPH_AS_EDGE_WEIGHT_H_

#include <cstdint>
#include <cstring>

#include "graph/graph.h"

// The attributes of one AS adjacency as seen from one of its endpoints. The
// graph keeps two of these per stored adjacency record. Index 0 of the
// per-source arrays is the graph's own value (plain graph) or the first
// compared graph's (differential graph); index 1 is the second compared
// graph's. The 16-bit counters wrap at 65536.
//
// Two of these sit in every adjacency record, and a graph holds two records
// per adjacency, so the fields are ordered widest first to leave no padding
// (48 bytes); the record is trivially copyable, so copies are plain moves of
// bytes and graphs of them can be dropped without visiting each record.
struct ASEdgeWeight {
  // Every field equal; the stability bit for bit, so that a record holding
  // "nan" equals its copy.
  bool sameFields(const ASEdgeWeight& other) const {
    for (int i = 0; i < 2; ++i) {
      if (pathCovering[i] != other.pathCovering[i] || ipCovering[i] != other.ipCovering[i] ||
          srcOriented[i] != other.srcOriented[i] || srcDirection[i] != other.srcDirection[i]) {
        return false;
      }
    }
    return oriented == other.oriented && comparedGraphs == other.comparedGraphs &&
           incomingEdges == other.incomingEdges && outgoingEdges == other.outgoingEdges &&
           undirectedEdges == other.undirectedEdges && unorientedEdges == other.unorientedEdges &&
           orientationRun == other.orientationRun &&
           orientationChanges == other.orientationChanges &&
           std::memcmp(&orientationStability, &other.orientationStability,
                       sizeof orientationStability) == 0;
  }

  std::uint64_t ipCovering[2] = {0, 0};
  std::uint32_t pathCovering[2] = {0, 0};
  float orientationStability = 0.0f;
  std::uint16_t comparedGraphs = 1;
  std::uint16_t incomingEdges = 0;
  std::uint16_t outgoingEdges = 0;
  std::uint16_t undirectedEdges = 0;
  std::uint16_t unorientedEdges = 0;
  std::uint16_t orientationRun = 1;
  std::uint16_t orientationChanges = 0;
  bool oriented = false;
  bool srcOriented[2] = {false, false};
  edge_dir srcDirection[2] = {dir_none, dir_none};
};

#endif  // ASGRAPH_AS_EDGE_WEIGHT_H_
