// ASGraph::writeToFile and the GraphFileWriter it writes with: the graph file, line by line,
// each write checked.

#include "asgraph/graph_file_writer.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>

#include "asgraph/as_graph.h"
#include "asgraph/edge_line_columns.h"

namespace {

// The stream's error flag counts as well: a buffered write may "succeed"
// while an earlier flush of the same stream failed.
bool wrote(int result, FILE* stream) { return result >= 0 && !std::ferror(stream); }

// "00" to "99": two digits per division, as most of a file's characters are digits.
constexpr char kDigitPairs[] =
    "0001020304050607080910111213141516171819"
    "2021222324252627282930313233343536373839"
    "4041424344454647484950515253545556575859"
    "6061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Decimal digits of value at text; returns how many.
inline std::size_t formatUnsigned(std::uint64_t value, char* text) {
  if (value < 10) {
    text[0] = static_cast<char>('0' + value);
    return 1;
  }
  char digits[20];
  char* const end = digits + sizeof digits;
  char* at = end;
  while (value >= 100) {
    const std::size_t pair = static_cast<std::size_t>(value % 100) * 2;
    value /= 100;
    at -= 2;
    at[0] = kDigitPairs[pair];
    at[1] = kDigitPairs[pair + 1];
  }
  if (value >= 10) {
    const std::size_t pair = static_cast<std::size_t>(value) * 2;
    at -= 2;
    at[0] = kDigitPairs[pair];
    at[1] = kDigitPairs[pair + 1];
  } else {
    *--at = static_cast<char>('0' + value);
  }
  const std::size_t count = static_cast<std::size_t>(end - at);
  std::memcpy(text, at, count);
  return count;
}

// The direction as the file spells it: -1 backward, 1 forward, 0 anything else.
inline std::size_t formatDirection(edge_dir dir, char* text) {
  switch (dir) {
    case dir_backward:
      text[0] = '-';
      text[1] = '1';
      return 2;
    case dir_forward:
      text[0] = '1';
      return 1;
    default:
      text[0] = '0';
      return 1;
  }
}

// Appends the columns of one line, each after a blank but the first.
class LineText {
 public:
  explicit LineText(char* text) : text(text) {}
  void number(std::uint64_t value) {
    separate();
    length += formatUnsigned(value, text + length);
  }
  void flag(bool value) {
    separate();
    text[length++] = value ? '1' : '0';
  }
  void direction(edge_dir dir) {
    separate();
    length += formatDirection(dir, text + length);
  }
  char* room() {
    separate();
    return text + length;
  }
  void took(std::size_t characters) { length += characters; }
  std::size_t end() {
    text[length++] = '\n';
    return length;
  }

 private:
  void separate() {
    if (length > 0) {
      text[length++] = ' ';
    }
  }
  char* text;
  std::size_t length = 0;
};

// Column Index of kEdgeColumns, loaded and printed as its conversion says. The column is a
// constant, so its load is called directly and inlined; stability(value, at) prints a float.
template <std::size_t Index, class Stability>
inline void formatColumn(const WrittenEdgeLine& line, LineText& text, Stability& stability) {
  constexpr EdgeColumn column = kEdgeColumns[Index];
  const ColumnValue value = column.load(line);
  if constexpr (column.conversion == ColumnConversion::kFlag) {
    text.flag(value.number != 0);
  } else if constexpr (column.conversion == ColumnConversion::kDirection) {
    text.direction(value.direction);
  } else if constexpr (column.conversion == ColumnConversion::kStability) {
    char* room = text.room();
    text.took(stability(value.real, room));
  } else {
    text.number(value.number);
  }
}

template <std::size_t First, class Stability, std::size_t... Offset>
inline void formatColumns(const WrittenEdgeLine& line, LineText& text, Stability& stability,
                          std::index_sequence<Offset...>) {
  (formatColumn<First + Offset>(line, text, stability), ...);
}

}  // namespace

bool GraphFileWriter::fail(const char* reason) {
  std::snprintf(reasonText, sizeof reasonText, "%s", reason);
  return false;
}

bool GraphFileWriter::writeLine(const char* text, std::size_t length) {
  return std::fwrite(text, 1, length, stream) == length && !std::ferror(stream);
}

bool GraphFileWriter::writeHeader(bool differentialFile, const List<char*>& sourceFiles,
                                  const char* comment, std::uint32_t nodes, std::uint32_t edges,
                                  bool wide) {
  if (!ok()) {
    return false;
  }
  differential = differentialFile;
  const char* marker =
      wide ? (differential ? ASGraph::wideDiffGraphMarker : ASGraph::wideGraphMarker)
           : (differential ? ASGraph::diffGraphMarker : ASGraph::graphMarker);
  if (!wrote(std::fprintf(stream, "%s\n", marker), stream)) {
    return fail("Could not write file type string");
  }
  if (!wrote(std::fprintf(stream, "%llu\n", static_cast<unsigned long long>(sourceFiles.len())),
             stream)) {
    return fail("Could not write number of source files");
  }
  // Walked through a copy: the list's cursor is part of its owner's state.
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
  if (!wrote(std::fprintf(stream, "%u\n", static_cast<unsigned>(nodes)), stream)) {
    return fail("Could not write number of nodes");
  }
  if (!wrote(std::fprintf(stream, "%u\n", static_cast<unsigned>(edges)), stream)) {
    return fail("Could not write number of edges");
  }
  return true;
}

bool GraphFileWriter::writeNode(ASNumber as) {
  if (!ok()) {
    return false;
  }
  char text[16];
  std::size_t length = formatUnsigned(as, text);
  text[length++] = '\n';
  if (!writeLine(text, length)) {
    std::snprintf(reasonText, sizeof reasonText, "%s %u", "Could not write node", as);
    return false;
  }
  return true;
}

std::size_t GraphFileWriter::formatStability(float value, char* text) {
  std::uint32_t bits;
  static_assert(sizeof bits == sizeof value, "a float has 32 bits");
  std::memcpy(&bits, &value, sizeof bits);
  if (stabilityLength == 0 || bits != stabilityBits) {
    // Widened to double, as "%f" prints it.
    const int printed =
        std::snprintf(stabilityText, sizeof stabilityText, "%f", static_cast<double>(value));
    stabilityLength =
        printed < 0 ? 0
                    : static_cast<std::size_t>(printed < static_cast<int>(sizeof stabilityText)
                                                   ? printed
                                                   : static_cast<int>(sizeof stabilityText) - 1);
    stabilityBits = bits;
  }
  std::memcpy(text, stabilityText, stabilityLength);
  return stabilityLength;
}

std::size_t GraphFileWriter::formatEdge(ASNumber first, ASNumber second, edge_dir dir,
                                        const ASEdgeWeight& forward, const ASEdgeWeight& backward,
                                        char* text) {
  const WrittenEdgeLine columns{first, second, dir, &forward, &backward};
  auto stability = [this](float value, char* at) { return formatStability(value, at); };
  LineText line(text);
  formatColumns<0>(columns, line, stability, std::make_index_sequence<kPlainEdgeColumns>());
  if (differential) {
    formatColumns<kPlainEdgeColumns>(
        columns, line, stability,
        std::make_index_sequence<kDifferentialEdgeColumns - kPlainEdgeColumns>());
  }
  return line.end();
}

bool GraphFileWriter::writeEdge(ASNumber first, ASNumber second, edge_dir dir,
                                const ASEdgeWeight& forward, const ASEdgeWeight& backward) {
  if (!ok()) {
    return false;
  }
  char text[kMaxEdgeLineLength];
  const std::size_t length = formatEdge(first, second, dir, forward, backward, text);
  if (!writeLine(text, length)) {
    std::snprintf(reasonText, sizeof reasonText, "%s %u %u", "Could not write edge", first, second);
    return false;
  }
  return true;
}

bool ASGraph::writeToFile(FILE* stream) {
  errReasonText[0] = '\0';
  GraphFileWriter writer(stream);
  bool ok =
      writer.writeHeader(differential, sourceFiles, comment, nodes(), edges(), needsWideFile());

  if (ok) {
    // The node views are drained straight from the graph's own list: copying it first would
    // only cost time. Every view is freed, also those left over after a failed write.
    List<graph_node*>& nodeViews = listNodes();
    while (!nodeViews.isEmpty()) {
      graph_node* view = nodeViews.pop();
      ok = ok && writer.writeNode(*view->weight);
      freeView(view);
    }
  }
  // The adjacencies are walked in place: a view per adjacency would cost an allocation each.
  for (EdgeWalk walk(*this); ok && !walk.atEnd(); walk.next()) {
    const graph_edge* e = walk.current();
    ok = writer.writeEdge(e->from->key, e->to->key, *e->dir, *e->fwdWeight, *e->revWeight);
  }
  if (!ok) {
    std::snprintf(errReasonText, sizeof errReasonText, "%s", writer.reason());
  }
  return ok;
}
