#ifndef ASGRAPH_AS_GRAPH_H_
#define ASGRAPH_AS_GRAPH_H_

#include <cstddef>
#include <cstdio>

#include "asgraph/as_edge_weight.h"
#include "asgraph/as_number.h"
#include "graph/graph.h"
#include "graph/list.h"

class LineReader;

using ASGraphBase = Graph<ASNumber, ASEdgeWeight, ASNumber>;

// The AS-level graph: AS numbers as nodes (key and weight are both the AS
// number), adjacencies with two ASEdgeWeight records each, plus the names of
// the source files it was made from, a one-line comment, the differential
// flag and the reason of the last failed file operation.
class ASGraph : public ASGraphBase {
 public:
  static const char* const graphMarker;      // "ZNG": plain graph file
  static const char* const diffGraphMarker;  // "ZND": differential graph file
  // The same files with 32-bit AS numbers.
  static const char* const wideGraphMarker;      // "ZNG32"
  static const char* const wideDiffGraphMarker;  // "ZND32"

  ASGraph();
  ASGraph(const ASGraph& other);
  ~ASGraph();
  // Deep copy, with fresh copies of the source names. Assigning a newly
  // constructed graph empties this one.
  ASGraph& operator=(const ASGraph& other);

  // -1 for dir_backward, 1 for dir_forward, 0 for anything else.
  int dirToVal(edge_dir dir) const;
  // dir_backward for -1, dir_forward for 1, dir_none for anything else.
  edge_dir valToDir(int value) const;

  // Reason of the last failed readFromFile/writeToFile; empty after a success.
  char* errReason() { return errReasonText; }
  List<char*>& getSourceFiles() { return sourceFiles; }
  char* getComment() { return comment; }
  // Keeps at most 512 characters.
  void setComment(const char* text);
  bool& isDifferential() { return differential; }
  // Appends fresh copies of names (after emptying the list when replace is
  // set). Walks names with its own cursor, which is left on the last name.
  void setSourceFiles(List<char*>& names, bool replace);

  // The container's validity check (Graph::isValid) with records compared
  // field by field; for tests and debugging.
  bool isValid(const char** why = nullptr) const {
    return ASGraphBase::isValid(
        why, [](const ASEdgeWeight& a, const ASEdgeWeight& b) { return a.sameFields(b); });
  }

  // Whether the graph holds an AS number above 65535, and so is written as a
  // wide file.
  bool needsWideFile() const { return nodesAboveKeyTable() != 0; }

  // Adds what the stream holds to this graph. false: errReason() tells why;
  // what was read before the failing line stays in the graph. Standard input,
  // pipes and terminals are read only up to the last line the graph needs; a
  // regular file may be read past it.
  bool readFromFile(FILE* stream);
  // Writes the graph. false: errReason() tells which write failed.
  bool writeToFile(FILE* stream);

 private:
  void clearSourceFiles();
  // Store a reason and return false, so that every check reads as one line.
  bool fail(const char* reason);
  // Prefix, the quoted text and the closing quote. The quoted text is cut so
  // that prefix, text and quote keep to kReasonLength characters; then its
  // control bytes are written as \xHH, so that showing the reason on a
  // terminal never runs an escape sequence taken from the file.
  bool fail(const char* prefix, const char* text, std::size_t length);
  // Moves lines to the next line. false: the reason is missing, or that the
  // line is too long, with its first kQuotedLongLine bytes quoted.
  bool nextLine(LineReader& lines, const char* missing);
  // Checks one edge line column by column and adds the adjacency it
  // describes; forward and backward are scratch records reused across lines.
  bool readEdgeLine(const char* line, std::size_t length, ASNumber largestAS, ASEdgeWeight& forward,
                    ASEdgeWeight& backward);

  // Longest reason before escaping; an escaped byte takes four characters.
  static constexpr std::size_t kReasonLength = 512;
  // A line too long to read is quoted by this many bytes, after its own prefix.
  static constexpr std::size_t kQuotedLongLine = 512;
  static constexpr std::size_t kLongLinePrefixLength = 37;

  bool differential = false;
  char errReasonText[4 * kQuotedLongLine + kLongLinePrefixLength + 2] = {0};
  List<char*> sourceFiles;
  char comment[513] = {0};
};

#endif  // ASGRAPH_AS_GRAPH_H_
