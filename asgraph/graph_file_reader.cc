// ASGraph::readFromFile: the checks of every line of a graph file, in file
// order, each with its own reason.

#include <cstdint>
#include <cstring>

#include "asgraph/as_graph.h"
#include "asgraph/line_reader.h"
#include "asgraph/number_conversion.h"

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

bool readASNumber(const char* begin, const char* end, unsigned short& as) {
  std::int64_t value = 0;
  if (!toSigned(begin, end, value) || value < 1 || value > 65535) {
    return false;
  }
  as = static_cast<unsigned short>(value);
  return true;
}

bool readFlag(const Token& token, bool& flag) {
  if (token.length() != 1 || (*token.begin != '0' && *token.begin != '1')) {
    return false;
  }
  flag = *token.begin == '1';
  return true;
}

bool readDirectionValue(const Token& token, int& value) {
  std::int64_t number = 0;
  if (!toSigned(token.begin, token.end, number) || number < -1 || number > 1) {
    return false;
  }
  value = static_cast<int>(number);
  return true;
}

// The counters are 16 bits wide in memory but read at 32 bits, and keep the
// value modulo 65536.
bool readCounter(const Token& token, std::uint16_t& counter) {
  std::uint32_t value = 0;
  if (!toUnsigned32(token.begin, token.end, value)) {
    return false;
  }
  counter = static_cast<std::uint16_t>(value);
  return true;
}

char* copyText(const char* text, std::size_t length) {
  char* copy = new char[length + 1];
  std::memcpy(copy, text, length + 1);
  return copy;
}

}  // namespace

bool ASGraph::readFromFile(FILE* stream) {
  errReasonText[0] = '\0';
  // The scratch records are set up once: every line sets every field the
  // file carries, and the rest stay at their defaults.
  ASEdgeWeight forward;
  ASEdgeWeight backward;
  LineReader lines(stream);

  if (!lines.next()) {
    return fail("Could not retrieve file type string");
  }
  if (std::strcmp(lines.text(), diffGraphMarker) == 0) {
    differential = true;
  } else if (std::strcmp(lines.text(), graphMarker) == 0) {
    differential = false;
  } else {
    return fail("Invalid file type string: `", lines.text(), lines.length());
  }

  if (!lines.next()) {
    return fail("Could not retrieve number of source files");
  }
  std::int64_t sourceCount = 0;
  if (!toSigned(lines.text(), lines.text() + lines.length(), sourceCount) || sourceCount < 1 ||
      sourceCount > 65536) {
    return fail("Invalid number of source files: `", lines.text(), lines.length());
  }
  for (std::int64_t i = 0; i < sourceCount; ++i) {
    if (!lines.next()) {
      return fail("Could not retrieve all the source file names");
    }
    sourceFiles.enqueue(copyText(lines.text(), lines.length()));
  }

  if (!lines.next()) {
    return fail("Unable to retrieve graph description string");
  }
  setComment(lines.text());

  std::uint32_t nodeLines = 0;
  if (!lines.next()) {
    return fail("Could not retrieve number of nodes");
  }
  if (!toUnsigned32(lines.text(), lines.text() + lines.length(), nodeLines)) {
    return fail("Invalid number of nodes: `", lines.text(), lines.length());
  }
  std::uint32_t edgeLines = 0;
  if (!lines.next()) {
    return fail("Could not retrieve number of edges");
  }
  if (!toUnsigned32(lines.text(), lines.text() + lines.length(), edgeLines)) {
    return fail("Invalid number of edges: `", lines.text(), lines.length());
  }

  for (std::uint32_t i = 0; i < nodeLines; ++i) {
    if (!lines.next()) {
      return fail("Unable to retrieve all the nodes");
    }
    unsigned short as = 0;
    if (!readASNumber(lines.text(), lines.text() + lines.length(), as)) {
      return fail("Invalid AS number: `", lines.text(), lines.length());
    }
    // A repeated AS number adds nothing.
    addNode(as, as);
  }

  for (std::uint32_t i = 0; i < edgeLines; ++i) {
    if (!lines.next()) {
      return fail("Unable to retrieve all the edges");
    }
    if (!readEdgeLine(lines.text(), lines.length(), forward, backward)) {
      return false;
    }
  }
  return true;
}

bool ASGraph::readEdgeLine(const char* line, std::size_t length, ASEdgeWeight& forward,
                           ASEdgeWeight& backward) {
  static const char* const kLineFormat = "Invalid edge line format: `";
  static const char* const kASNumber = "Invalid AS number: `";
  static const char* const kFlag = "Invalid edge direction flag: `";
  static const char* const kDirection = "Invalid edge direction: `";
  static const char* const kPathCovering = "Invalid path covering value: `";
  static const char* const kIPCovering = "Invalid IP address covering value: `";

  // Columns are checked strictly in order, so a bad token is reported before
  // a missing one that follows it.
  Tokens tokens(line);
  Token token;
  // A column that the line lacks makes the whole line malformed.
  auto nextColumn = [&]() { return tokens.next(token) || fail(kLineFormat, line, length); };
  unsigned short first = 0;
  unsigned short second = 0;
  bool flag = false;
  int direction = 0;

  if (!nextColumn()) {
    return false;
  }
  if (!readASNumber(token.begin, token.end, first)) {
    return fail(kASNumber, token.begin, token.length());
  }
  if (!nextColumn()) {
    return false;
  }
  if (!readASNumber(token.begin, token.end, second)) {
    return fail(kASNumber, token.begin, token.length());
  }
  if (!nextColumn()) {
    return false;
  }
  if (!readFlag(token, flag)) {
    return fail(kFlag, token.begin, token.length());
  }
  forward.oriented = flag;
  backward.oriented = flag;
  if (!nextColumn()) {
    return false;
  }
  if (!readDirectionValue(token, direction)) {
    return fail(kDirection, token.begin, token.length());
  }
  const edge_dir dir = valToDir(direction);

  // Covering columns: path and IP address covering seen from the first AS,
  // then from the second, for the source graph at the given index.
  auto readCovering = [&](int index) {
    if (!nextColumn()) {
      return false;
    }
    if (!toUnsigned32(token.begin, token.end, forward.pathCovering[index])) {
      return fail(kPathCovering, token.begin, token.length());
    }
    if (!nextColumn()) {
      return false;
    }
    if (!toUnsigned64(token.begin, token.end, forward.ipCovering[index])) {
      return fail(kIPCovering, token.begin, token.length());
    }
    if (!nextColumn()) {
      return false;
    }
    if (!toUnsigned32(token.begin, token.end, backward.pathCovering[index])) {
      return fail(kPathCovering, token.begin, token.length());
    }
    if (!nextColumn()) {
      return false;
    }
    if (!toUnsigned64(token.begin, token.end, backward.ipCovering[index])) {
      return fail(kIPCovering, token.begin, token.length());
    }
    return true;
  };
  if (!readCovering(0)) {
    return false;
  }

  if (differential) {
    for (int index = 0; index < 2; ++index) {
      if (!nextColumn()) {
        return false;
      }
      if (!readFlag(token, flag)) {
        return fail(kFlag, token.begin, token.length());
      }
      forward.srcOriented[index] = flag;
      backward.srcOriented[index] = flag;
    }
    for (int index = 0; index < 2; ++index) {
      if (!nextColumn()) {
        return false;
      }
      if (!readDirectionValue(token, direction)) {
        return fail(kDirection, token.begin, token.length());
      }
      forward.srcDirection[index] = valToDir(direction);
      backward.srcDirection[index] = reverse(valToDir(direction));
    }
    if (!readCovering(1)) {
      return false;
    }

    // Columns 17 to 22, in file order, with the reason of each.
    static const char* const kCounterReasons[6] = {
        "Invalid compared graphs count value: `",
        "Invalid value for number of incoming edges: `",
        "Invalid value for number of outgoing edges: `",
        "Invalid value for number of undirected edges: `",
        "Invalid value for number of unoriented edges: `",
        "Invalid value for number of orientation changes: `",
    };
    std::uint16_t counters[6] = {0, 0, 0, 0, 0, 0};
    for (int column = 0; column < 6; ++column) {
      if (!nextColumn()) {
        return false;
      }
      if (!readCounter(token, counters[column])) {
        return fail(kCounterReasons[column], token.begin, token.length());
      }
    }
    forward.comparedGraphs = backward.comparedGraphs = counters[0];
    // Incoming at one endpoint is outgoing at the other.
    forward.incomingEdges = backward.outgoingEdges = counters[1];
    forward.outgoingEdges = backward.incomingEdges = counters[2];
    forward.undirectedEdges = backward.undirectedEdges = counters[3];
    forward.unorientedEdges = backward.unorientedEdges = counters[4];
    forward.orientationChanges = backward.orientationChanges = counters[5];

    if (!nextColumn()) {
      return false;
    }
    float stability = 0.0f;
    if (!toFloat(token.begin, token.end, stability)) {
      return fail("Invalid value for orientation stability: `", token.begin, token.length());
    }
    forward.orientationStability = backward.orientationStability = stability;
  }

  // An edge whose endpoints are not both nodes adds nothing, and a repeated
  // adjacency is merged by addEdge's rules; neither is a reason to stop.
  addEdge(first, second, dir, forward, backward);
  return true;
}
