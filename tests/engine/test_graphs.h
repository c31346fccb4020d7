#ifndef TESTS_ENGINE_TEST_GRAPHS_H_
#define TESTS_ENGINE_TEST_GRAPHS_H_

#include <cstdint>
#include <memory>
#include <string>

#include "asgraph/as_graph.h"
#include "engine/cmd_line_parameters.h"
#include "engine/diff_type.h"
#include "graph/list.h"

// How an adjacency stands in one graph, seen from the node it is added from.
struct EdgeState {
  bool oriented;
  edge_dir dir;
  bool operator==(const EdgeState& other) const {
    return oriented == other.oriented && dir == other.dir;
  }
  bool operator<(const EdgeState& other) const {
    return oriented != other.oriented ? oriented < other.oriented : dir < other.dir;
  }
};
constexpr EdgeState kUnoriented{false, dir_none};
constexpr EdgeState kPeering{true, dir_none};
constexpr EdgeState kForward{true, dir_forward};
constexpr EdgeState kBackward{true, dir_backward};

// The state seen from the other endpoint.
inline EdgeState reversed(EdgeState state) { return {state.oriented, reverse(state.dir)}; }

// Adds both endpoints and the adjacency, with the state's oriented flag in both records.
// Returns addEdge's result.
int addAdjacency(ASGraph& graph, unsigned short from, unsigned short to, EdgeState state,
                 ASEdgeWeight fromRecord = ASEdgeWeight(), ASEdgeWeight toRecord = ASEdgeWeight());

struct EdgeViewDeleter {
  void operator()(ASGraph::graph_edge* view) const { ASGraph::freeView(view); }
};
using EdgeViewPtr = std::unique_ptr<ASGraph::graph_edge, EdgeViewDeleter>;

// The record held at from for the adjacency to to; null when there is none.
inline EdgeViewPtr viewOf(ASGraph& graph, unsigned short from, unsigned short to) {
  return EdgeViewPtr(graph.edgeProperties(from, to));
}

// A formula written as on the command line ("pP,x"), encoded with the option's letter table.
List<int> formula(const std::string& text, int (*letterBit)(char));

// Parameters as the parser leaves them for a run without options.
void resetParams(cmdLineParameters& params);

// The 21 counters in their declared order, for filling and comparing whole records.
extern std::uint32_t diff_type::*const kDiffCounters[21];
extern const char* const kDiffCounterNames[21];
diff_type filledDiff(std::uint32_t value);
void expectSameDiff(const diff_type& expected, const diff_type& actual);

#endif  // TESTS_ENGINE_TEST_GRAPHS_H_
