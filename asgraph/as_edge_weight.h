#ifndef ASGRAPH_AS_EDGE_WEIGHT_H_
#define ASGRAPH_AS_EDGE_WEIGHT_H_

#include <cstdint>
#include <cstring>

#include "graph/graph.h"
#include "iptools/ip_prefix.h"

// The attributes of one AS adjacency as seen from one of its endpoints. The
// graph keeps two of these per stored adjacency record. Index 0 of the
// per-source arrays is the graph's own value (plain graph) or the first
// compared graph's (differential graph); index 1 is the second compared
// graph's. The 16-bit counters wrap at 65536.
class ASEdgeWeight {
 public:
  ASEdgeWeight() = default;
  ASEdgeWeight(const ASEdgeWeight& other) { copyFields(other); }
  ASEdgeWeight& operator=(const ASEdgeWeight& other) {
    copyFields(other);
    return *this;
  }
  ~ASEdgeWeight() = default;

  // Every field equal; the stability bit for bit, so that a record holding
  // "nan" equals its copy.
  bool sameFields(const ASEdgeWeight& other) const {
    for (int i = 0; i < 2; ++i) {
      if (pathCovering[i] != other.pathCovering[i] || ipCovering[i] != other.ipCovering[i] ||
          srcOriented[i] != other.srcOriented[i] || srcDirection[i] != other.srcDirection[i]) {
        return false;
      }
    }
    return oriented == other.oriented && prefix == other.prefix &&
           comparedGraphs == other.comparedGraphs && incomingEdges == other.incomingEdges &&
           outgoingEdges == other.outgoingEdges && undirectedEdges == other.undirectedEdges &&
           unorientedEdges == other.unorientedEdges && orientationRun == other.orientationRun &&
           orientationChanges == other.orientationChanges &&
           std::memcmp(&orientationStability, &other.orientationStability,
                       sizeof orientationStability) == 0;
  }

  bool oriented = false;
  std::uint32_t pathCovering[2] = {0, 0};
  std::uint64_t ipCovering[2] = {0, 0};
  IPPrefix prefix;
  bool srcOriented[2] = {false, false};
  edge_dir srcDirection[2] = {dir_none, dir_none};
  std::uint16_t comparedGraphs = 1;
  std::uint16_t incomingEdges = 0;
  std::uint16_t outgoingEdges = 0;
  std::uint16_t undirectedEdges = 0;
  std::uint16_t unorientedEdges = 0;
  std::uint16_t orientationRun = 1;
  float orientationStability = 0.0f;
  std::uint16_t orientationChanges = 0;

 private:
  // The prefix goes through IPPrefix's assignment, which leaves its address
  // list buffer alone, so copying a record never allocates.
  void copyFields(const ASEdgeWeight& other) {
    oriented = other.oriented;
    pathCovering[0] = other.pathCovering[0];
    pathCovering[1] = other.pathCovering[1];
    ipCovering[0] = other.ipCovering[0];
    ipCovering[1] = other.ipCovering[1];
    prefix = other.prefix;
    srcOriented[0] = other.srcOriented[0];
    srcOriented[1] = other.srcOriented[1];
    srcDirection[0] = other.srcDirection[0];
    srcDirection[1] = other.srcDirection[1];
    comparedGraphs = other.comparedGraphs;
    incomingEdges = other.incomingEdges;
    outgoingEdges = other.outgoingEdges;
    undirectedEdges = other.undirectedEdges;
    unorientedEdges = other.unorientedEdges;
    orientationRun = other.orientationRun;
    orientationStability = other.orientationStability;
    orientationChanges = other.orientationChanges;
  }
};

#endif  // ASGRAPH_AS_EDGE_WEIGHT_H_
