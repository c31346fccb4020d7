// ASGraph::writeToFile: the graph file, line by line, each write checked.

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "asgraph/as_graph.h"
#include "asgraph/edge_line_columns.h"

namespace {

// The stream's error flag counts as well: a buffered write may "succeed"
// while an earlier flush of the same stream failed.
bool wrote(int result, FILE* stream) { return result >= 0 && !std::ferror(stream); }

// Room for the longest edge line: 22 numbers of at most 20 digits and a sign,
// the stability (a float printed with six decimals: at most 47 characters),
// the blanks and the line feed.
constexpr std::size_t kMaxEdgeLineLength = 22 * 21 + 48 + 23 + 1;

// Decimal digits of value at text; returns how many.
std::size_t formatUnsigned(std::uint64_t value, char* text) {
  char digits[20];
  std::size_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  for (std::size_t i = 0; i < count; ++i) {
    text[i] = digits[count - 1 - i];
  }
  return count;
}

// Prints one column's value at text, as the file format spells it; returns
// the number of characters.
std::size_t formatColumn(ColumnConversion conversion, const ColumnValue& value,
                         const ASGraph& graph, char* text) {
  switch (conversion) {
    case ColumnConversion::kDirection: {
      const int direction = graph.dirToVal(value.direction);
      if (direction < 0) {
        text[0] = '-';
        return 1 + formatUnsigned(static_cast<std::uint64_t>(-direction), text + 1);
      }
      return formatUnsigned(static_cast<std::uint64_t>(direction), text);
    }
    case ColumnConversion::kStability: {
      // Widened to double, as "%f" prints it.
      constexpr int kRoom = 48;
      const int printed = std::snprintf(text, kRoom, "%f", static_cast<double>(value.real));
      return printed < 0 ? 0 : static_cast<std::size_t>(printed < kRoom ? printed : kRoom - 1);
    }
    default:
      return formatUnsigned(value.number, text);
  }
}

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

  // Each edge line is formatted into one buffer and written with one call.
  char text[kMaxEdgeLineLength];
  const int columns = differential ? kDifferentialEdgeColumns : kPlainEdgeColumns;
  List<graph_edge*>& edgeViews = listEdges();
  while (!edgeViews.isEmpty()) {
    graph_edge* view = edgeViews.pop();
    if (ok) {
      EdgeLine edge;
      edge.first = view->from->key;
      edge.second = view->to->key;
      edge.dir = *view->dir;
      edge.forward = view->fwdWeight;
      edge.backward = view->revWeight;
      std::size_t length = 0;
      for (int i = 0; i < columns; ++i) {
        if (i > 0) {
          text[length++] = ' ';
        }
        const EdgeColumn& column = kEdgeColumns[i];
        length += formatColumn(column.conversion, column.load(edge), *this, text + length);
      }
      text[length++] = '\n';
      ok = std::fwrite(text, 1, length, stream) == length && !std::ferror(stream);
      if (!ok) {
        std::snprintf(errReasonText, sizeof errReasonText, "%s %i %i", "Could not write edge",
                      edge.first, edge.second);
      }
    }
    freeView(view);
  }
  return ok;
}
