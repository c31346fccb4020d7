#include "engine/diff_graph_writer.h"

#include <bitset>
#include <cstdint>
#include <limits>
#include <memory>

#include "engine/diff_graph.h"
#include "engine/edge_merge.h"

namespace {

using EdgeView = ASGraph::graph_edge;
constexpr std::size_t kKeys = std::size_t{std::numeric_limits<unsigned short>::max()} + 1;

// The first merge: the nodes the graph would get (both endpoints of every edge added) and how
// many edges.
struct GraphOutline {
  std::bitset<kKeys> nodes;
  std::uint32_t edges = 0;
  void add(EdgeView* e1, EdgeView* /*e2*/) {
    nodes.set(e1->from->key);
    nodes.set(e1->to->key);
    ++edges;
  }
};

// The second merge: every edge line, with the records addDiffGraphEdge would store. The graph
// lists each adjacency from its smaller key and the walks name it the same way, so the line is
// the one the built graph would give.
struct EdgeLines {
  GraphFileWriter& writer;
  void add(EdgeView* e1, EdgeView* e2) {
    if (!writer.ok()) {
      return;
    }
    ASEdgeWeight fromRecord;
    ASEdgeWeight toRecord;
    const edge_dir dir = diffGraphRecords(e1, e2, fromRecord, toRecord);
    writer.writeEdge(e1->from->key, e1->to->key, dir, fromRecord, toRecord);
  }
};

}  // namespace

bool writeDiffGraph(GraphFileWriter& writer, cmdLineParameters& params, ASGraph& graph1,
                    ASGraph& graph2, ASGraph& labels) {
  // 8 KiB of node marks: kept off the stack.
  auto outline = std::make_unique<GraphOutline>();
  diff_type counts{};
  mergeEdges(params, graph1, graph2, labels, counts, *outline);
  if (!writer.writeHeader(labels.isDifferential(), labels.getSourceFiles(), labels.getComment(),
                          static_cast<std::uint32_t>(outline->nodes.count()), outline->edges)) {
    return false;
  }
  for (std::size_t key = 0; key < kKeys; ++key) {
    if (outline->nodes.test(key) && !writer.writeNode(static_cast<int>(key))) {
      return false;
    }
  }
  EdgeLines lines{writer};
  mergeEdges(params, graph1, graph2, labels, counts, lines);
  return writer.ok();
}
