// ASGraph::writeToFile: the graph file, line by line, each write checked.

#include <cinttypes>
#include <cstdio>

#include "asgraph/as_graph.h"

namespace {

// The stream's error flag counts as well: a buffered write may "succeed"
// while an earlier flush of the same stream failed.
bool wrote(int result, FILE* stream) { return result >= 0 && !std::ferror(stream); }

}  // namespace

bool ASGraph::writeToFile(FILE* stream) {
  errReasonText[0] = '\0';
  if (!wrote(std::fprintf(stream, "%s\n", differential ? diffGraphMarker : graphMarker), stream)) {
    return fail("Could not write file type string");
  }
  if (!wrote(std::fprintf(stream, "%llu\n", static_cast<unsigned long long>(sourceFiles.len())),
             stream)) {
    return fail("Could not write number of source files");
  }
  // Walked through a copy: the list's cursor is part of the graph's state.
  List<char*> names(sourceFiles);
  names.goToFirst();
  if (!names.isEmpty()) {
    do {
      if (!wrote(std::fprintf(stream, "%s\n", names.current()), stream)) {
        return fail("Unable to write source file names");
      }
    } while (names.next());
  }
  if (!wrote(std::fprintf(stream, "%s\n", comment), stream)) {
    return fail("Could not write comment");
  }
  if (!wrote(std::fprintf(stream, "%u\n", static_cast<unsigned>(nodes())), stream)) {
    return fail("Could not write number of nodes");
  }
  if (!wrote(std::fprintf(stream, "%u\n", static_cast<unsigned>(edges())), stream)) {
    return fail("Could not write number of edges");
  }

  // The views are drained straight from the graph's own list: copying a list
  // of millions of views first would only cost time. Every view is freed,
  // also those left over after a failed write.
  bool ok = true;
  List<graph_node*>& nodeViews = listNodes();
  while (!nodeViews.isEmpty()) {
    graph_node* view = nodeViews.pop();
    int as = *view->weight;
    if (ok && !wrote(std::fprintf(stream, "%i\n", as), stream)) {
      std::snprintf(errReasonText, sizeof errReasonText, "%s %i", "Could not write node", as);
      ok = false;
    }
    freeView(view);
  }
  if (!ok) {
    return false;
  }

  List<graph_edge*>& edgeViews = listEdges();
  while (!edgeViews.isEmpty()) {
    graph_edge* view = edgeViews.pop();
    if (ok) {
      const ASEdgeWeight& fwd = *view->fwdWeight;
      const ASEdgeWeight& rev = *view->revWeight;
      int first = view->from->key;
      int second = view->to->key;
      ok = wrote(
          std::fprintf(stream, "%i %i %i %i %" PRIu32 " %" PRIu64 " %" PRIu32 " %" PRIu64, first,
                       second, fwd.oriented ? 1 : 0, dirToVal(*view->dir), fwd.pathCovering[0],
                       fwd.ipCovering[0], rev.pathCovering[0], rev.ipCovering[0]),
          stream);
      if (ok && differential) {
        ok = wrote(
            std::fprintf(stream,
                         " %i %i %i %i %" PRIu32 " %" PRIu64 " %" PRIu32 " %" PRIu64
                         " %hu %hu %hu %hu %hu %hu %f",
                         fwd.srcOriented[0] ? 1 : 0, fwd.srcOriented[1] ? 1 : 0,
                         dirToVal(fwd.srcDirection[0]), dirToVal(fwd.srcDirection[1]),
                         fwd.pathCovering[1], fwd.ipCovering[1], rev.pathCovering[1],
                         rev.ipCovering[1], fwd.comparedGraphs, fwd.incomingEdges,
                         fwd.outgoingEdges, fwd.undirectedEdges, fwd.unorientedEdges,
                         fwd.orientationChanges, static_cast<double>(fwd.orientationStability)),
            stream);
      }
      if (ok) {
        ok = wrote(std::fputc('\n', stream), stream);
      }
      if (!ok) {
        std::snprintf(errReasonText, sizeof errReasonText, "%s %i %i", "Could not write edge",
                      first, second);
      }
    }
    freeView(view);
  }
  return ok;
}
