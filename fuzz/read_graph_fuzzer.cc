// Feeds arbitrary bytes to the graph file reader, checks the graph it leaves
// behind, then writes whatever it read to a memory stream: the reader must
// never crash or leak on any input, the graph must stay sound (every
// adjacency mirrored at both ends, counts right), and the writer must cope
// with whatever the reader left in the graph.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "asgraph/as_graph.h"

namespace {

// Field by field; the stability bit for bit, since a file may hold "nan".
bool sameRecord(const ASEdgeWeight& a, const ASEdgeWeight& b) {
  for (int i = 0; i < 2; ++i) {
    if (a.pathCovering[i] != b.pathCovering[i] || a.ipCovering[i] != b.ipCovering[i] ||
        a.srcOriented[i] != b.srcOriented[i] || a.srcDirection[i] != b.srcDirection[i]) {
      return false;
    }
  }
  return a.oriented == b.oriented && a.prefix == b.prefix && a.comparedGraphs == b.comparedGraphs &&
         a.incomingEdges == b.incomingEdges && a.outgoingEdges == b.outgoingEdges &&
         a.undirectedEdges == b.undirectedEdges && a.unorientedEdges == b.unorientedEdges &&
         a.orientationRun == b.orientationRun && a.orientationChanges == b.orientationChanges &&
         std::memcmp(&a.orientationStability, &b.orientationStability,
                     sizeof a.orientationStability) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FILE* input = fmemopen(const_cast<std::uint8_t*>(data), size, "r");
  if (input == nullptr) {
    return 0;
  }
  ASGraph graph;
  bool ok = graph.readFromFile(input);
  std::fclose(input);
  if (ok && graph.errReason()[0] != '\0') {
    std::abort();
  }
  if (!ok && graph.errReason()[0] == '\0') {
    std::abort();
  }
  const char* why = nullptr;
  if (!graph.isValid(&why, sameRecord)) {
    std::fprintf(stderr, "graph left unsound by the reader: %s\n", why);
    std::abort();
  }

  char* text = nullptr;
  std::size_t length = 0;
  FILE* output = open_memstream(&text, &length);
  if (output != nullptr) {
    if (!graph.writeToFile(output)) {
      std::abort();
    }
    std::fclose(output);
    std::free(text);
  }
  return 0;
}
