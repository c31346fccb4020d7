#ifndef TESTS_SUPPORT_AS_RECORD_CHECKS_H_
#define TESTS_SUPPORT_AS_RECORD_CHECKS_H_

#include <cstdint>
#include <functional>

#include "asgraph/as_edge_weight.h"
#include "asgraph/as_graph.h"

// Every field equal (all fourteen).
void expectSameRecord(const ASEdgeWeight& expected, const ASEdgeWeight& actual);

// The relations between the two records of one adjacency: shared fields equal, source directions
// reversed, incoming of one equal to outgoing of the other.
void expectPartnerRecords(const ASEdgeWeight& a, const ASEdgeWeight& b);

// Calls check on the view of every adjacency as listEdges lists it, with the adjacency's
// endpoints in the failure trace, and frees the views. Returns how many were listed.
std::uint32_t forEachAdjacency(ASGraph& graph,
                               const std::function<void(const ASGraph::graph_edge&)>& check);

// The graph's own validity check, then a walk of every adjacency: it is listed from its smaller
// key, its copy at the other endpoint exists and mirrors the listed copy, the pair relations hold,
// and the node and edge counts agree with the listings.
void expectConsistentGraph(ASGraph& graph);

#endif  // TESTS_SUPPORT_AS_RECORD_CHECKS_H_
