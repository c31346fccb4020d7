#ifndef ASGRAPH_GRAPH_FILE_WRITER_H_
#define ASGRAPH_GRAPH_FILE_WRITER_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "asgraph/as_edge_weight.h"
#include "asgraph/as_number.h"
#include "graph/graph.h"
#include "graph/list.h"

// Writes a graph file to a stream part by part: the header, then the node lines, then the edge
// lines. ASGraph::writeToFile writes its own graph with it; a caller that can produce the nodes
// and adjacencies of a graph in file order writes them without building the graph first.
//
// Every line is handed to the stream with one call and checked at once (the call's result and
// the stream's error flag), so a failed write is found at the line that met it, whatever the
// stream's buffering, and named in reason(). After a failure every later call fails at once and
// writes nothing.
class GraphFileWriter {
 public:
  // The widest edge line: 22 numbers of at most 20 digits and a sign, the stability (a float
  // printed with six decimals: at most 47 characters), the blanks and the line feed.
  static constexpr std::size_t kMaxEdgeLineLength = 22 * 21 + 48 + 23 + 1;

  explicit GraphFileWriter(FILE* stream) : stream(stream) {}
  GraphFileWriter(const GraphFileWriter&) = delete;
  GraphFileWriter& operator=(const GraphFileWriter&) = delete;

  // The lines before the node lines. sourceFiles is walked through a copy, so its cursor stays.
  // wide: the graph holds an AS number above 65535 (ZNG32 or ZND32 file).
  bool writeHeader(bool differential, const List<char*>& sourceFiles, const char* comment,
                   std::uint32_t nodes, std::uint32_t edges, bool wide = false);
  bool writeNode(ASNumber as);
  // One adjacency as the record held at first shows it: dir is seen from first, forward is the
  // record of first and backward that of second. A differential graph's line has all 23
  // columns, a plain graph's the first 8.
  bool writeEdge(ASNumber first, ASNumber second, edge_dir dir, const ASEdgeWeight& forward,
                 const ASEdgeWeight& backward);

  bool ok() const { return reasonText[0] == '\0'; }
  // Which write failed; empty while none has.
  const char* reason() const { return reasonText; }

 private:
  bool writeLine(const char* text, std::size_t length);
  bool fail(const char* reason);
  // The edge line writeEdge writes, at text (room for kMaxEdgeLineLength characters), from the
  // columns of asgraph/edge_line_columns.h; returns its length, line feed included.
  std::size_t formatEdge(ASNumber first, ASNumber second, edge_dir dir, const ASEdgeWeight& forward,
                         const ASEdgeWeight& backward, char* text);
  std::size_t formatStability(float value, char* text);

  FILE* stream;
  bool differential = false;
  char reasonText[64] = {0};
  // The stability of the last line and its text: most lines of a file repeat a handful of
  // values (every overlap edge has 0), and printing a float is the slowest column by far.
  std::uint32_t stabilityBits = 0;
  std::size_t stabilityLength = 0;
  char stabilityText[48] = {0};
};

#endif  // ASGRAPH_GRAPH_FILE_WRITER_H_
