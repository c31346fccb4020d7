// ASGraph::readFromFile: the checks of every line of a graph file, in file
// order, each with its own reason.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

#include "asgraph/as_graph.h"
#include "asgraph/as_number.h"
#include "asgraph/edge_line_columns.h"
#include "asgraph/line_reader.h"
#include "asgraph/number_conversion.h"
#include "text/copied_string.h"
#include "text/escaped_text.h"

namespace {

// One blank-separated token; it points into the line, which stays intact so
// that a reason can quote the whole line.
struct Token {
  const char* begin = nullptr;
  const char* end = nullptr;
  std::size_t length() const { return static_cast<std::size_t>(end - begin); }
};

// Only blanks separate tokens; a tab belongs to the token it is in.
class Tokens {
 public:
  explicit Tokens(const char* line) : position(line) {}
  // false when the line holds no further token.
  bool next(Token& token) {
    while (*position == ' ') {
      ++position;
    }
    if (*position == '\0') {
      return false;
    }
    token.begin = position;
    while (*position != '\0' && *position != ' ') {
      ++position;
    }
    token.end = position;
    return true;
  }

 private:
  const char* position;
};

// largest: the file's kind of AS numbers (classic or wide).
bool readASNumber(const char* begin, const char* end, ASNumber largest, ASNumber& as) {
  std::int64_t value = 0;
  if (!toSigned(begin, end, value) || value < kSmallestASNumber || value > largest) {
    return false;
  }
  as = static_cast<ASNumber>(value);
  return true;
}

bool readFlag(const Token& token, ColumnValue& value) {
  if (token.length() != 1 || (*token.begin != '0' && *token.begin != '1')) {
    return false;
  }
  value.number = *token.begin == '1' ? 1 : 0;
  return true;
}

bool readDirection(const Token& token, const ASGraph& graph, ColumnValue& value) {
  std::int64_t number = 0;
  if (!toSigned(token.begin, token.end, number) || number < -1 || number > 1) {
    return false;
  }
  value.direction = graph.valToDir(static_cast<int>(number));
  return true;
}

// Converts one token as its column says; false leaves value alone.
bool convertToken(ColumnConversion conversion, const Token& token, const ASGraph& graph,
                  ASNumber largestAS, ColumnValue& value) {
  switch (conversion) {
    case ColumnConversion::kASNumber: {
      ASNumber as = 0;
      if (!readASNumber(token.begin, token.end, largestAS, as)) {
        return false;
      }
      value.number = as;
      return true;
    }
    case ColumnConversion::kFlag:
      return readFlag(token, value);
    case ColumnConversion::kDirection:
      return readDirection(token, graph, value);
    case ColumnConversion::kUnsigned32:
    case ColumnConversion::kCounter: {
      // The counters are 16 bits wide in memory but read at 32 bits; storing
      // them keeps the value modulo 65536.
      std::uint32_t number = 0;
      if (!toUnsigned32(token.begin, token.end, number)) {
        return false;
      }
      value.number = number;
      return true;
    }
    case ColumnConversion::kUnsigned64:
      return toUnsigned64(token.begin, token.end, value.number);
    case ColumnConversion::kStability:
      return toFloat(token.begin, token.end, value.real);
  }
  return false;
}

enum class ColumnRead { kRead, kMissing, kBad };

// Reads column I of the table from the next token into edge. The column is a
// compile-time constant here, so that its conversion and its store compile
// into straight code: this runs for every column of millions of lines.
template <std::size_t I>
ColumnRead readColumn(Tokens& tokens, Token& token, const ASGraph& graph, ASNumber largestAS,
                      EdgeLine& edge) {
  constexpr EdgeColumn column = kEdgeColumns[I];
  if (!tokens.next(token)) {
    return ColumnRead::kMissing;
  }
  ColumnValue value;
  if (!convertToken(column.conversion, token, graph, largestAS, value)) {
    return ColumnRead::kBad;
  }
  column.store(edge, value);
  return ColumnRead::kRead;
}

// Reads the columns in order up to the first that fails, whose index is left
// in failedColumn; the token is the bad one after kBad.
template <std::size_t... I>
ColumnRead readColumns(Tokens& tokens, Token& token, const ASGraph& graph, ASNumber largestAS,
                       EdgeLine& edge, std::size_t& failedColumn, std::index_sequence<I...>) {
  ColumnRead result = ColumnRead::kRead;
  static_cast<void>(((result = readColumn<I>(tokens, token, graph, largestAS, edge),
                      failedColumn = I, result == ColumnRead::kRead) &&
                     ...));
  return result;
}

// The quick conversion of one column's token (see quickDigits), false when
// the token is not of its column's common shape. Only values the checked
// conversion gives for the same token get through. A template, so that each
// column's conversion compiles into the line's straight code. kWide: the
// file holds 32-bit AS numbers.
template <ColumnConversion kConversion, bool kWide>
ASGRAPH_QUICK_INLINE bool convertQuickly(const char*& p, const ASGraph& graph, ColumnValue& value) {
  if constexpr (kConversion == ColumnConversion::kASNumber) {
    constexpr ASNumber kLargest = kWide ? kLargestWideASNumber : kLargestClassicASNumber;
    return quickDigits < kWide ? 10
                               : 5 > (p, value.number) && value.number >= kSmallestASNumber &&
                                     value.number <= kLargest;
  } else if constexpr (kConversion == ColumnConversion::kFlag) {
    if ((*p != '0' && *p != '1') || !endsToken(p[1])) {
      return false;
    }
    value.number = *p++ == '1' ? 1 : 0;
    return true;
  } else if constexpr (kConversion == ColumnConversion::kDirection) {
    int number = -1;
    if (*p == '-') {
      if (p[1] != '1' || !endsToken(p[2])) {
        return false;
      }
      p += 2;
    } else {
      std::uint64_t digits = 0;
      if (!quickDigits<1>(p, digits) || digits > 1) {
        return false;
      }
      number = static_cast<int>(digits);
    }
    value.direction = graph.valToDir(number);
    return true;
  } else if constexpr (kConversion == ColumnConversion::kUnsigned32 ||
                       kConversion == ColumnConversion::kCounter) {
    return quickDigits<9>(p, value.number);
  } else if constexpr (kConversion == ColumnConversion::kUnsigned64) {
    return quickDigits<19>(p, value.number);
  } else {
    static_assert(kConversion == ColumnConversion::kStability, "a conversion without a quick form");
    if (quickFloat(p, value.real)) {
      return true;
    }
    // The conversion skips leading white space, line feeds too: it would
    // read on into the next line, and past the bytes read so far.
    if (static_cast<unsigned char>(*p) <= ' ') {
      return false;
    }
    const char* end = p;
    while (!endsToken(*end)) {
      ++end;
    }
    // An empty text converts to 0, but here it is a missing column.
    if (end == p || !toFloat(p, end, value.real)) {
      return false;
    }
    p = end;
    return true;
  }
}

template <std::size_t I, bool kWide>
ASGRAPH_QUICK_INLINE bool readColumnQuickly(const char*& p, const ASGraph& graph, EdgeLine& edge) {
  constexpr EdgeColumn column = kEdgeColumns[I];
  while (*p == ' ') {
    ++p;
  }
  ColumnValue value;
  if (!convertQuickly<column.conversion, kWide>(p, graph, value)) {
    return false;
  }
  column.store(edge, value);
  return true;
}

// Reads an edge line in one pass over its bytes, converting each token where
// it stands: the common case, millions of times per file. Any line it cannot
// settle (a fault, a missing column, a token of an unusual shape) returns
// false, after storing at most values the full checks would store as well;
// those checks then read the line from its start and give the reason.
template <bool kWide, std::size_t... I>
bool readEdgeLineQuickly(const char* line, const ASGraph& graph, EdgeLine& edge,
                         std::index_sequence<I...>) {
  const char* p = line;
  return (readColumnQuickly<I, kWide>(p, graph, edge) && ...);
}

// A node line of one AS number in the edge lines' common shape.
template <bool kWide>
bool readNodeLineQuickly(const char* line, const ASGraph& graph, ASNumber& as) {
  ColumnValue value;
  if (!convertQuickly<ColumnConversion::kASNumber, kWide>(line, graph, value) ||
      !endsLineText(*line)) {
    return false;
  }
  as = static_cast<ASNumber>(value.number);
  return true;
}

// Standard input may hold more than this graph, for whoever reads it next,
// so it is consumed line by line, and so is the same file under another name
// (on systems where opening /dev/stdin duplicates it, the two share one
// offset) and anything that is not a regular file: a pipe's line has to be
// taken as soon as it has come. Any other file is read in large blocks.
LineReader::Consumption consumptionFor(FILE* stream) {
  const int descriptor = fileno(stream);
  struct stat status;
  if (stream == stdin || descriptor < 0 || descriptor == STDIN_FILENO ||
      fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    return LineReader::Consumption::kUpToLineReturned;
  }
  struct stat input;
  if (fstat(STDIN_FILENO, &input) == 0 && input.st_dev == status.st_dev &&
      input.st_ino == status.st_ino) {
    return LineReader::Consumption::kUpToLineReturned;
  }
  return LineReader::Consumption::kReadAhead;
}

}  // namespace

bool ASGraph::readFromFile(FILE* stream) {
  errReasonText[0] = '\0';
  // Files list adjacencies in ascending order.
  AscendingAdditions ascending(*this);
  // The scratch records are set up once: every line sets every field the
  // file carries, and the rest stay at their defaults.
  ASEdgeWeight forward;
  ASEdgeWeight backward;
  LineReader lines(stream, consumptionFor(stream));

  if (!nextLine(lines, "Could not retrieve file type string")) {
    return false;
  }
  bool wide = false;
  if (std::strcmp(lines.text(), diffGraphMarker) == 0) {
    differential = true;
  } else if (std::strcmp(lines.text(), graphMarker) == 0) {
    differential = false;
  } else if (std::strcmp(lines.text(), wideDiffGraphMarker) == 0) {
    differential = true;
    wide = true;
  } else if (std::strcmp(lines.text(), wideGraphMarker) == 0) {
    differential = false;
    wide = true;
  } else {
    return fail("Invalid file type string: `", lines.text(), lines.length());
  }

  if (!nextLine(lines, "Could not retrieve number of source files")) {
    return false;
  }
  std::int64_t sourceCount = 0;
  if (!toSigned(lines.text(), lines.text() + lines.length(), sourceCount) || sourceCount < 1 ||
      sourceCount > 65536) {
    return fail("Invalid number of source files: `", lines.text(), lines.length());
  }
  for (std::int64_t i = 0; i < sourceCount; ++i) {
    if (!nextLine(lines, "Could not retrieve all the source file names")) {
      return false;
    }
    sourceFiles.enqueue(copyString(lines.text(), lines.length()));
  }

  if (!nextLine(lines, "Unable to retrieve graph description string")) {
    return false;
  }
  setComment(lines.text());

  const ASNumber largestAS = wide ? kLargestWideASNumber : kLargestClassicASNumber;
  std::uint32_t nodeLines = 0;
  if (!nextLine(lines, "Could not retrieve number of nodes")) {
    return false;
  }
  if (!toUnsigned32(lines.text(), lines.text() + lines.length(), nodeLines)) {
    return fail("Invalid number of nodes: `", lines.text(), lines.length());
  }
  std::uint32_t edgeLines = 0;
  if (!nextLine(lines, "Could not retrieve number of edges")) {
    return false;
  }
  if (!toUnsigned32(lines.text(), lines.text() + lines.length(), edgeLines)) {
    return fail("Invalid number of edges: `", lines.text(), lines.length());
  }

  for (std::uint32_t i = 0; i < nodeLines; ++i) {
    if (!nextLine(lines, "Unable to retrieve all the nodes")) {
      return false;
    }
    ASNumber as = 0;
    const bool quick = wide ? readNodeLineQuickly<true>(lines.line(), *this, as)
                            : readNodeLineQuickly<false>(lines.line(), *this, as);
    if (!quick && !readASNumber(lines.text(), lines.text() + lines.length(), largestAS, as)) {
      return fail("Invalid AS number: `", lines.text(), lines.length());
    }
    // A repeated AS number adds nothing.
    addNode(as, as);
  }

  EdgeLine edge;
  edge.forward = &forward;
  edge.backward = &backward;
  // One loop per kind of file, so that each has its line's straight code and no test of the
  // kind per line.
  const auto readEdgeLines = [&](auto wideFile, auto columns) {
    for (std::uint32_t i = 0; i < edgeLines; ++i) {
      if (!nextLine(lines, "Unable to retrieve all the edges")) {
        return false;
      }
      if (readEdgeLineQuickly<decltype(wideFile)::value>(lines.line(), *this, edge, columns)) {
        addEdge(edge.first, edge.second, edge.dir, forward, backward);
      } else if (!readEdgeLine(lines.text(), lines.length(), largestAS, forward, backward)) {
        return false;
      }
    }
    return true;
  };
  constexpr auto kPlain = std::make_index_sequence<kPlainEdgeColumns>();
  constexpr auto kDifferential = std::make_index_sequence<kDifferentialEdgeColumns>();
  if (wide) {
    return differential ? readEdgeLines(std::true_type(), kDifferential)
                        : readEdgeLines(std::true_type(), kPlain);
  }
  return differential ? readEdgeLines(std::false_type(), kDifferential)
                      : readEdgeLines(std::false_type(), kPlain);
}

bool ASGraph::nextLine(LineReader& lines, const char* missing) {
  if (lines.next()) {
    return true;
  }
  if (!lines.tooLong()) {
    return fail(missing);
  }
  static const char kPrefix[] = "Line too long (over 1048576 bytes): `";
  static_assert(LineReader::kMaxLineLength == 1048576, "the reason names the limit");
  static_assert(sizeof kPrefix - 1 == kLongLinePrefixLength, "errReasonText has room for it");
  char* end = errReasonText + std::strlen(std::strcpy(errReasonText, kPrefix));
  end = writeEscaped(lines.line(), kQuotedLongLine, end);
  *end++ = '\'';
  *end = '\0';
  return false;
}

bool ASGraph::readEdgeLine(const char* line, std::size_t length, ASNumber largestAS,
                           ASEdgeWeight& forward, ASEdgeWeight& backward) {
  EdgeLine edge;
  edge.forward = &forward;
  edge.backward = &backward;
  Tokens tokens(line);
  Token token;
  std::size_t column = 0;
  const ColumnRead result = differential
                                ? readColumns(tokens, token, *this, largestAS, edge, column,
                                              std::make_index_sequence<kDifferentialEdgeColumns>())
                                : readColumns(tokens, token, *this, largestAS, edge, column,
                                              std::make_index_sequence<kPlainEdgeColumns>());
  if (result == ColumnRead::kMissing) {
    return fail("Invalid edge line format: `", line, length);
  }
  if (result == ColumnRead::kBad) {
    return fail(kEdgeColumns[column].badTokenReason, token.begin, token.length());
  }
  // An edge whose endpoints are not both nodes adds nothing, and a repeated
  // adjacency is merged by addEdge's rules; neither is a reason to stop.
  addEdge(edge.first, edge.second, edge.dir, forward, backward);
  return true;
}
