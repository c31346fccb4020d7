// The floor of the default report: the least work any program must do to produce its 25
// figures. It reads both graph files whole, parses every line to numbers and counts, with no
// trees, no per-adjacency records and one thread. bench/run.sh times it next to plandrex, so that
// plandrex's times can be read as multiples of it on whatever machine runs the benchmark.
//
//   floor FIRST SECOND
//
// prints the same 25 lines as plandrex's default report on valid graph files. It checks nothing
// that a valid file does not need: it is a yardstick, not a reader. Classic files keep their
// nodes in a table of every 16-bit AS number; when either file is wide (ZNG32, ZND32), both are
// read with 32-bit AS numbers: nodes as sorted vectors (and an open-addressing hash set to find
// an edge's endpoints), and 64-bit edge keys.

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

#include "graph/seeded_hash.h"

namespace {

enum Direction : std::uint8_t { kNone = 0, kBackward = 1, kForward = 2 };
enum Class : std::uint8_t { kUnoriented = 0, kPeering = 1, kDirected = 2 };

Direction reversed(Direction dir) {
  return dir == kBackward ? kForward : dir == kForward ? kBackward : kNone;
}

// One adjacency, named from its smaller AS: key = smaller << 16 | larger (wide: << 32).
template <class Key>
struct Adjacency {
  Key key;
  std::uint8_t oriented;
  std::uint8_t dir;
};

// The AS numbers of a wide file, for membership only: linear probing in a table at most half
// full; 0 (never an AS number) marks an empty slot. Seeded as the graph's own index is, since a
// reader of files anyone may write needs a hash they cannot aim at, and the floor is the least
// work such a reader does.
class NodeSet {
 public:
  void build(const std::vector<std::uint32_t>& numbers) {
    std::size_t capacity = 16;
    while (capacity < 2 * numbers.size()) {
      capacity *= 2;
    }
    slots.assign(capacity, 0);
    mask = capacity - 1;
    for (std::uint32_t as : numbers) {
      std::size_t i = start(as);
      while (slots[i] != 0 && slots[i] != as) {
        i = (i + 1) & mask;
      }
      slots[i] = as;
    }
  }
  bool contains(std::uint32_t as) const {
    for (std::size_t i = start(as);; i = (i + 1) & mask) {
      if (slots[i] == as) {
        return as != 0;
      }
      if (slots[i] == 0) {
        return false;
      }
    }
  }

 private:
  std::size_t start(std::uint32_t as) const {
    return static_cast<std::size_t>(hash(as) >> 20) & mask;
  }
  SeededHash hash;
  std::vector<std::uint32_t> slots;
  std::size_t mask = 0;
};

// Classic: isNode by AS number. Wide: the AS numbers, ascending, and a set of them.
template <class Key>
struct Snapshot {
  std::vector<std::uint8_t> isNode;
  std::vector<std::uint32_t> nodeList;
  NodeSet nodeSet;
  std::uint32_t nodes = 0;
  std::vector<Adjacency<Key>> edges;
  bool hasNode(std::uint32_t as) const {
    if constexpr (sizeof(Key) == 4) {
      return isNode[as] != 0;
    } else {
      return nodeSet.contains(as);
    }
  }
};

// The whole file, NUL-terminated. Mapped where the mapping ends in a zero-filled page tail;
// otherwise read.
struct Text {
  const char* data = nullptr;
  std::size_t mapped = 0;
  std::vector<char> copy;
};

Text readWhole(const char* name) {
  Text text;
  int fd = open(name, O_RDONLY);
  struct stat info;
  if (fd < 0 || fstat(fd, &info) != 0) {
    std::perror(name);
    std::exit(2);
  }
  const auto size = static_cast<std::size_t>(info.st_size);
  const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  if (size % page != 0) {
    void* map = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (map != MAP_FAILED) {
      text.data = static_cast<const char*>(map);
      text.mapped = size;
      close(fd);
      return text;
    }
  }
  text.copy.resize(size + 1);
  std::size_t done = 0;
  while (done < size) {
    ssize_t got = read(fd, text.copy.data() + done, size - done);
    if (got <= 0) {
      break;
    }
    done += static_cast<std::size_t>(got);
  }
  text.copy[done] = '\0';
  text.data = text.copy.data();
  close(fd);
  return text;
}

class Cursor {
 public:
  explicit Cursor(const char* text) : p(text) {}
  void skipLine() {
    while (*p != '\n' && *p != '\0') {
      ++p;
    }
    if (*p == '\n') {
      ++p;
    }
  }
  // The next blank-separated number on this line (0 when the line has none left).
  std::int64_t number() {
    while (*p == ' ') {
      ++p;
    }
    bool negative = *p == '-';
    if (negative || *p == '+') {
      ++p;
    }
    std::int64_t value = 0;
    while (static_cast<unsigned>(*p - '0') < 10) {
      value = value * 10 + (*p - '0');
      ++p;
    }
    return negative ? -value : value;
  }
  // Parses what is left of the line to numbers, as a reader has to.
  std::int64_t restOfLine() {
    std::int64_t sum = 0;
    while (*p == ' ') {
      ++p;
    }
    while (*p != '\n' && *p != '\r' && *p != '\0') {
      sum += number();
      while (*p == ' ') {
        ++p;
      }
      if (*p == '.' || *p == 'e' || *p == 'E') {  // the stability column of a differential line
        ++p;
      }
    }
    skipLine();
    return sum;
  }

 private:
  const char* p;
};

// Keeps the first appearance of every adjacency and applies the later ones the way the graph
// merges a repeated adjacency: a direction where there was none replaces it, no direction or the
// opposite direction leaves none, the same direction changes nothing.
template <class Key>
void mergeRepeats(std::vector<Adjacency<Key>>& edges) {
  std::stable_sort(edges.begin(), edges.end(),
                   [](const Adjacency<Key>& a, const Adjacency<Key>& b) { return a.key < b.key; });
  std::size_t kept = 0;
  for (std::size_t i = 0; i < edges.size(); ++i) {
    if (kept > 0 && edges[kept - 1].key == edges[i].key) {
      Adjacency<Key>& stored = edges[kept - 1];
      const Adjacency<Key>& next = edges[i];
      if (stored.dir == kNone) {
        if (next.dir != kNone) {
          stored = next;
        }
      } else if (next.dir != stored.dir) {
        stored = next;
        stored.dir = kNone;
      }
    } else {
      edges[kept++] = edges[i];
    }
  }
  edges.resize(kept);
}

bool isWideFile(const char* name) {
  char marker[8] = {0};
  FILE* file = std::fopen(name, "rb");
  const bool wide =
      file != nullptr && std::fread(marker, 1, 6, file) == 6 &&
      (std::memcmp(marker, "ZNG32\n", 6) == 0 || std::memcmp(marker, "ZND32\n", 6) == 0);
  if (file != nullptr) {
    std::fclose(file);
  }
  return wide;
}

template <class Key>
Snapshot<Key> parse(const char* name, std::int64_t& checksum) {
  constexpr bool kWide = sizeof(Key) == 8;
  constexpr int kShift = kWide ? 32 : 16;
  Text text = readWhole(name);
  Snapshot<Key> graph;
  if (!kWide) {
    graph.isNode.assign(65536, 0);
  }
  Cursor cursor(text.data);
  cursor.skipLine();  // ZNG or ZND
  const std::int64_t sources = cursor.number();
  cursor.skipLine();
  for (std::int64_t i = 0; i < sources; ++i) {
    cursor.skipLine();
  }
  cursor.skipLine();  // description
  const std::int64_t nodeLines = cursor.number();
  cursor.skipLine();
  const std::int64_t edgeLines = cursor.number();
  cursor.skipLine();
  for (std::int64_t i = 0; i < nodeLines; ++i) {
    if constexpr (kWide) {
      graph.nodeList.push_back(static_cast<std::uint32_t>(cursor.number()));
    } else {
      const auto as = static_cast<std::uint16_t>(cursor.number());
      graph.nodes += graph.isNode[as] == 0;
      graph.isNode[as] = 1;
    }
    cursor.skipLine();
  }
  if constexpr (kWide) {
    // Written files list them ascending; others are sorted.
    std::vector<std::uint32_t>& list = graph.nodeList;
    if (!std::is_sorted(list.begin(), list.end())) {
      std::sort(list.begin(), list.end());
    }
    list.erase(std::unique(list.begin(), list.end()), list.end());
    graph.nodes = static_cast<std::uint32_t>(list.size());
    graph.nodeSet.build(list);
  }
  graph.edges.reserve(static_cast<std::size_t>(edgeLines));
  bool ascending = true;
  Key previous = 0;
  for (std::int64_t i = 0; i < edgeLines; ++i) {
    const auto first = static_cast<std::uint32_t>(cursor.number());
    const auto second = static_cast<std::uint32_t>(cursor.number());
    const auto oriented = static_cast<std::uint8_t>(cursor.number());
    const std::int64_t value = cursor.number();
    checksum += cursor.restOfLine();
    if (!graph.hasNode(first) || !graph.hasNode(second)) {
      continue;
    }
    Direction dir = value == -1 ? kBackward : value == 1 ? kForward : kNone;
    Key key = Key{first} << kShift | second;
    if (first > second) {
      dir = reversed(dir);
      key = Key{second} << kShift | first;
    }
    ascending = ascending && (graph.edges.empty() || key > previous);
    previous = key;
    graph.edges.push_back({key, oriented, dir});
  }
  if (!ascending) {
    mergeRepeats(graph.edges);
  }
  if (text.mapped != 0) {
    munmap(const_cast<char*>(text.data), text.mapped);
  }
  return graph;
}

template <class Key>
Class classOf(const Adjacency<Key>& e) {
  return e.oriented == 0 ? kUnoriented : e.dir == kNone ? kPeering : kDirected;
}

template <class Key>
int report(const char* first, const char* second) {
  std::int64_t checksum = 0;
  const Snapshot<Key> a = parse<Key>(first, checksum);
  const Snapshot<Key> b = parse<Key>(second, checksum);

  std::uint32_t onlyNodes[2] = {0, 0};
  std::uint32_t commonNodes = 0;
  if constexpr (sizeof(Key) == 4) {
    for (std::size_t as = 1; as < 65536; ++as) {
      commonNodes += a.isNode[as] & b.isNode[as];
      onlyNodes[0] += a.isNode[as] & (b.isNode[as] ^ 1);
      onlyNodes[1] += b.isNode[as] & (a.isNode[as] ^ 1);
    }
  } else {
    std::vector<std::uint32_t> both;
    std::set_intersection(a.nodeList.begin(), a.nodeList.end(), b.nodeList.begin(),
                          b.nodeList.end(), std::back_inserter(both));
    commonNodes = static_cast<std::uint32_t>(both.size());
    onlyNodes[0] = a.nodes - commonNodes;
    onlyNodes[1] = b.nodes - commonNodes;
  }

  std::uint32_t classes[2][3] = {{0, 0, 0}, {0, 0, 0}};
  std::uint32_t onlyClasses[2][3] = {{0, 0, 0}, {0, 0, 0}};
  std::uint32_t only[2] = {0, 0};
  std::uint32_t common = 0, opposite = 0, different = 0, consistent = 0;
  std::size_t i = 0, j = 0;
  while (i < a.edges.size() || j < b.edges.size()) {
    if (j == b.edges.size() || (i < a.edges.size() && a.edges[i].key < b.edges[j].key)) {
      const Class c = classOf(a.edges[i++]);
      ++only[0];
      ++classes[0][c];
      ++onlyClasses[0][c];
    } else if (i == a.edges.size() || b.edges[j].key < a.edges[i].key) {
      const Class c = classOf(b.edges[j++]);
      ++only[1];
      ++classes[1][c];
      ++onlyClasses[1][c];
    } else {
      const Adjacency<Key>& e1 = a.edges[i++];
      const Adjacency<Key>& e2 = b.edges[j++];
      const Class c1 = classOf(e1);
      const Class c2 = classOf(e2);
      ++common;
      ++classes[0][c1];
      ++classes[1][c2];
      if (c1 != kUnoriented && c2 != kUnoriented) {
        opposite += e1.dir != kNone && e1.dir == reversed(static_cast<Direction>(e2.dir));
        different += e1.dir != e2.dir;
        consistent += e1.dir == e2.dir;
      }
    }
  }

  std::printf("Nodes in 1st graph:  %10u\n", a.nodes);
  std::printf("- only in 1st graph: %10u\n", onlyNodes[0]);
  std::printf("Nodes in 2nd graph:  %10u\n", b.nodes);
  std::printf("- only in 2nd graph: %10u\n", onlyNodes[1]);
  std::printf("Common nodes:        %10u\n", commonNodes);
  const char* const ordinal[2] = {"1st", "2nd"};
  const std::size_t edgeCount[2] = {a.edges.size(), b.edges.size()};
  for (int g = 0; g < 2; ++g) {
    std::printf("Edges in %s graph:  %10zu\n", ordinal[g], edgeCount[g]);
    std::printf("- peering:           %10u\n", classes[g][kPeering]);
    std::printf("- directed:          %10u\n", classes[g][kDirected]);
    std::printf("- unoriented:        %10u\n", classes[g][kUnoriented]);
    std::printf("- only in %s graph: %10u\n", ordinal[g], only[g]);
    std::printf("  * peering:         %10u\n", onlyClasses[g][kPeering]);
    std::printf("  * directed:        %10u\n", onlyClasses[g][kDirected]);
    std::printf("  * unoriented:      %10u\n", onlyClasses[g][kUnoriented]);
  }
  std::printf("Common edges:        %10u\n", common);
  std::printf("- oppositely dir.:   %10u\n", opposite);
  std::printf("- differently dir.:  %10u\n", different);
  std::printf("- consistently dir.: %10u\n", consistent);
  // The sum of the covering columns keeps the compiler from skipping their parsing.
  return checksum == -1 ? 3 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s FIRST SECOND\n", argv[0]);
    return 1;
  }
  if (isWideFile(argv[1]) || isWideFile(argv[2])) {
    return report<std::uint64_t>(argv[1], argv[2]);
  }
  return report<std::uint32_t>(argv[1], argv[2]);
}
