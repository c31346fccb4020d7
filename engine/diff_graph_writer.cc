#include "engine/diff_graph_writer.h"

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/diff_graph.h"
#include "engine/edge_merge.h"

namespace {

using EdgeView = ASGraph::graph_edge;
constexpr std::size_t kClassicKeys = std::size_t{kLargestClassicASNumber} + 1;

// The first merge: the nodes the graph would get (both endpoints of every edge added) and how
// many edges. The classic AS numbers are marked in a table of 8 KiB; the wide ones, too many
// for a table, are collected and sorted once the merge is done.
struct GraphOutline {
  std::bitset<kClassicKeys> nodes;
  std::vector<ASNumber> wideNodes;
  std::uint32_t edges = 0;
  void add(EdgeView* e1, EdgeView* /*e2*/) {
    mark(e1->from->key);
    mark(e1->to->key);
    ++edges;
  }
  void mark(ASNumber as) {
    if (isWideASNumber(as)) {
      wideNodes.push_back(as);
    } else {
      nodes.set(as);
    }
  }
  // Sorts the wide numbers and drops repeats; returns the number of nodes.
  std::uint32_t settle() {
    std::sort(wideNodes.begin(), wideNodes.end());
    wideNodes.erase(std::unique(wideNodes.begin(), wideNodes.end()), wideNodes.end());
    return static_cast<std::uint32_t>(nodes.count() + wideNodes.size());
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
  const std::uint32_t nodes = outline->settle();
  if (!writer.writeHeader(labels.isDifferential(), labels.getSourceFiles(), labels.getComment(),
                          nodes, outline->edges, !outline->wideNodes.empty())) {
    return false;
  }
  for (std::size_t key = 0; key < kClassicKeys; ++key) {
    if (outline->nodes.test(key) && !writer.writeNode(static_cast<ASNumber>(key))) {
      return false;
    }
  }
  for (ASNumber as : outline->wideNodes) {
    if (!writer.writeNode(as)) {
      return false;
    }
  }
  EdgeLines lines{writer};
  mergeEdges(params, graph1, graph2, labels, counts, lines);
  return writer.ok();
}
