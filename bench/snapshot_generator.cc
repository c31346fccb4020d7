// Writes a series of AS-like plain graph files. The first snapshot is drawn from a seeded model of
// the AS hierarchy (a peering core, provider-customer trees grown by preferential attachment,
// peering among the larger ASes, a few adjacencies of unknown relationship); each later snapshot
// is derived from the one before by churning adjacencies and flipping orientations, the way
// consecutive routing snapshots differ. The same arguments always give the same files.
//
//   snapshot_generator --nodes N --edges E --out PREFIX [--snapshots S] [--seed X]
//                      [--churn PCT] [--flip PCT] [--node-churn PCT] [--wide 1]
//
// writes PREFIX-00.zng, PREFIX-01.zng, ... One adjacency of a snapshot is one edge line. With
// --wide 1 every AS number is sent through one seeded one-to-one map into 1 to 4294967295, and
// the files are wide graph files (ZNG32) of the same graphs.

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

#include "random/splitmix64.h"

namespace {

constexpr int kMaxAs = 65535;

// The draws of the model, on the seeded generator.
class Random {
 public:
  explicit Random(std::uint64_t seed) : bits(seed) {}
  std::uint64_t next() { return bits.next(); }
  // Uniform in [0, 1).
  double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
  // Uniform in [0, n); the bias of the multiply-shift is far below anything a benchmark sees.
  std::uint32_t below(std::uint32_t n) {
    return static_cast<std::uint32_t>(((next() >> 32) * static_cast<std::uint64_t>(n)) >> 32);
  }
  bool chance(double p) { return unit() < p; }

 private:
  SplitMix64 bits;
};

struct Options {
  int nodes = 0;
  std::uint64_t edges = 0;
  int snapshots = 1;
  std::uint64_t seed = 1;
  double churn = 5.0;      // percent of adjacencies replaced between snapshots
  double flip = 2.0;       // percent of adjacencies whose orientation changes
  double nodeChurn = 0.0;  // percent of stub ASes replaced by new AS numbers
  bool wide = false;
  std::string out;
};

// One adjacency, written from its smaller AS number: a < b, dir seen from a (-1, 0, 1).
struct Edge {
  std::uint16_t a, b;
  bool oriented;
  std::int8_t dir;
  std::uint32_t pathsA, pathsB;
  std::uint64_t ipsA, ipsB;
};

std::uint32_t pairKey(int x, int y) {
  return x < y ? (static_cast<std::uint32_t>(x) << 16) | static_cast<std::uint32_t>(y)
               : (static_cast<std::uint32_t>(y) << 16) | static_cast<std::uint32_t>(x);
}

class Model {
 public:
  explicit Model(const Options& options) : opt(options), random(options.seed) {}

  bool build();
  void evolve();
  bool write(int index) const;
  void writeClassic(FILE* file, int index) const;

 private:
  enum class Kind { kDirected, kPeering, kUnoriented };

  int drawRankBelow(int limit);
  int drawRank() { return drawRankBelow(static_cast<int>(asOfRank.size())); }
  bool addEdge(int providerOrLeftRank, int otherRank, Kind kind);
  bool addRandomEdge();
  void drawCovering(Edge& edge);
  void flipOrientation(Edge& edge);
  void removeEdgeAt(std::size_t index);
  void replaceStubs();

  const Options& opt;
  Random random;
  std::vector<std::uint16_t> asOfRank;  // rank 0 is the largest AS
  std::vector<int> rankOfAs;            // -1 for an AS number not in the graph
  std::vector<double> cumulativeWeight;
  int coreSize = 0;
  std::vector<Edge> edges;
  std::unordered_set<std::uint32_t> present;
};

// Preferential choice among ranks [0, limit): weight 1 / (rank + 1)^0.85.
int Model::drawRankBelow(int limit) {
  const double target = random.unit() * cumulativeWeight[limit - 1];
  auto it = std::upper_bound(cumulativeWeight.begin(), cumulativeWeight.begin() + limit, target);
  return std::min(static_cast<int>(it - cumulativeWeight.begin()), limit - 1);
}

void Model::drawCovering(Edge& edge) {
  // Paths seen through an adjacency are heavy-tailed; each path carries some address blocks.
  edge.pathsA = static_cast<std::uint32_t>(std::exp2(random.unit() * 16.0));
  edge.pathsB = static_cast<std::uint32_t>(std::exp2(random.unit() * 16.0));
  edge.ipsA = static_cast<std::uint64_t>(edge.pathsA) * 256 * (1 + random.below(64));
  edge.ipsB = static_cast<std::uint64_t>(edge.pathsB) * 256 * (1 + random.below(64));
}

// For a directed edge the first rank is the provider.
bool Model::addEdge(int firstRank, int secondRank, Kind kind) {
  if (firstRank == secondRank) {
    return false;
  }
  const int x = asOfRank[firstRank];
  const int y = asOfRank[secondRank];
  if (!present.insert(pairKey(x, y)).second) {
    return false;
  }
  Edge edge{};
  edge.a = static_cast<std::uint16_t>(std::min(x, y));
  edge.b = static_cast<std::uint16_t>(std::max(x, y));
  edge.oriented = kind != Kind::kUnoriented;
  edge.dir = kind == Kind::kDirected ? (x < y ? 1 : -1) : 0;
  drawCovering(edge);
  edges.push_back(edge);
  return true;
}

bool Model::addRandomEdge() {
  const int nodes = static_cast<int>(asOfRank.size());
  const double roll = random.unit();
  if (roll < 0.35) {
    // Peering: mostly between sizeable ASes, sometimes a large one and a small one.
    const int left = drawRank();
    const int right = random.chance(0.5) ? drawRank() : static_cast<int>(random.below(nodes));
    return addEdge(left, right, Kind::kPeering);
  }
  const int customer = static_cast<int>(random.below(nodes));
  const int provider = drawRank();
  if (roll < 0.39) {
    return addEdge(provider, customer, Kind::kUnoriented);
  }
  // The larger AS (smaller rank) is the provider.
  return provider < customer ? addEdge(provider, customer, Kind::kDirected)
                             : addEdge(customer, provider, Kind::kDirected);
}

bool Model::build() {
  const int nodes = opt.nodes;
  const double pairs = static_cast<double>(nodes) * (nodes - 1) / 2;
  if (nodes < 2 || nodes > kMaxAs || static_cast<double>(opt.edges) > pairs / 4) {
    fprintf(stderr, "need 2 to %d nodes and at most a quarter of all node pairs as edges\n",
            kMaxAs);
    return false;
  }
  // AS numbers: a seeded choice out of 1..65535 (all of them for a full-size graph), ranked in a
  // random order so that size does not follow the number.
  std::vector<std::uint16_t> numbers(kMaxAs);
  for (int i = 0; i < kMaxAs; ++i) {
    numbers[i] = static_cast<std::uint16_t>(i + 1);
  }
  for (int i = 0; i < nodes; ++i) {
    std::swap(numbers[i], numbers[i + random.below(kMaxAs - i)]);
  }
  asOfRank.assign(numbers.begin(), numbers.begin() + nodes);
  rankOfAs.assign(kMaxAs + 1, -1);
  for (int rank = 0; rank < nodes; ++rank) {
    rankOfAs[asOfRank[rank]] = rank;
  }
  cumulativeWeight.resize(nodes);
  double sum = 0;
  for (int rank = 0; rank < nodes; ++rank) {
    sum += std::pow(rank + 1.0, -0.85);
    cumulativeWeight[rank] = sum;
  }
  edges.reserve(opt.edges);
  present.reserve(opt.edges * 2);

  // The core peers with itself, then every other AS buys transit from a larger one, then the
  // rest of the budget goes to random adjacencies.
  coreSize = std::max(3, nodes / 1000);
  for (int i = 0; i < coreSize && edges.size() < opt.edges; ++i) {
    for (int j = i + 1; j < coreSize && edges.size() < opt.edges; ++j) {
      addEdge(i, j, Kind::kPeering);
    }
  }
  for (int rank = std::min(coreSize, nodes); rank < nodes && edges.size() < opt.edges; ++rank) {
    while (!addEdge(drawRankBelow(rank), rank, Kind::kDirected)) {
    }
  }
  while (edges.size() < opt.edges) {
    addRandomEdge();
  }
  return true;
}

void Model::flipOrientation(Edge& edge) {
  const double roll = random.unit();
  if (edge.oriented && edge.dir != 0) {
    if (roll < 0.6) {
      edge.dir = static_cast<std::int8_t>(-edge.dir);
    } else if (roll < 0.9) {
      edge.dir = 0;
    } else {
      edge.oriented = false;
      edge.dir = 0;
    }
  } else if (edge.oriented) {
    if (roll < 0.8) {
      edge.dir = random.chance(0.5) ? 1 : -1;
    } else {
      edge.oriented = false;
    }
  } else {
    edge.oriented = true;
    edge.dir = roll < 0.5 ? 0 : (random.chance(0.5) ? 1 : -1);
  }
}

void Model::removeEdgeAt(std::size_t index) {
  present.erase(pairKey(edges[index].a, edges[index].b));
  edges[index] = edges.back();
  edges.pop_back();
}

// Stub ASes leave and new AS numbers take their place (and rank), with one provider each.
void Model::replaceStubs() {
  const int nodes = static_cast<int>(asOfRank.size());
  const int count = static_cast<int>(std::lround(nodes * opt.nodeChurn / 100));
  const int firstStub = std::max(coreSize, nodes / 5);
  if (count == 0 || nodes == kMaxAs || firstStub >= nodes) {
    return;
  }
  std::vector<char> leaving(kMaxAs + 1, 0);
  std::vector<int> ranks;
  for (int i = 0; i < count; ++i) {
    const int rank = firstStub + static_cast<int>(random.below(nodes - firstStub));
    if (!leaving[asOfRank[rank]]) {
      leaving[asOfRank[rank]] = 1;
      ranks.push_back(rank);
    }
  }
  for (std::size_t i = edges.size(); i-- > 0;) {
    if (leaving[edges[i].a] || leaving[edges[i].b]) {
      removeEdgeAt(i);
    }
  }
  for (int rank : ranks) {
    rankOfAs[asOfRank[rank]] = -1;
    int number;
    do {
      number = 1 + static_cast<int>(random.below(kMaxAs));
    } while (rankOfAs[number] != -1 || leaving[number]);
    asOfRank[rank] = static_cast<std::uint16_t>(number);
    rankOfAs[number] = rank;
  }
  for (int rank : ranks) {
    while (!addEdge(drawRankBelow(rank), rank, Kind::kDirected)) {
    }
  }
}

void Model::evolve() {
  replaceStubs();
  const auto churned = static_cast<std::size_t>(std::llround(opt.edges * opt.churn / 100));
  for (std::size_t i = 0; i < churned && !edges.empty(); ++i) {
    removeEdgeAt(random.below(static_cast<std::uint32_t>(edges.size())));
  }
  while (edges.size() < opt.edges) {
    addRandomEdge();
  }
  const auto flipped = static_cast<std::size_t>(std::llround(opt.edges * opt.flip / 100));
  for (std::size_t i = 0; i < flipped; ++i) {
    flipOrientation(edges[random.below(static_cast<std::uint32_t>(edges.size()))]);
  }
  // Traffic moves too: some covering values change between snapshots.
  for (std::size_t i = 0; i < edges.size() / 10; ++i) {
    drawCovering(edges[random.below(static_cast<std::uint32_t>(edges.size()))]);
  }
}

// The 32-bit AS number of each 16-bit one: distinct, spread over the whole range, drawn from
// a generator of its own so that the graphs themselves stay those of the classic files.
std::vector<std::uint32_t> wideNumbers(std::uint64_t seed) {
  Random random(seed ^ 0x5749444531363332ull);
  std::vector<std::uint32_t> numbers(kMaxAs + 1, 0);
  std::unordered_set<std::uint32_t> taken;
  for (int as = 1; as <= kMaxAs; ++as) {
    std::uint32_t number = 0;
    while (number == 0 || !taken.insert(number).second) {
      number = static_cast<std::uint32_t>(random.next() >> 32);
    }
    numbers[as] = number;
  }
  return numbers;
}

void writeWide(FILE* file, int index, const Options& opt,
               const std::vector<std::uint16_t>& asOfRank, const std::vector<Edge>& edges) {
  static const std::vector<std::uint32_t> wide = wideNumbers(opt.seed);
  std::vector<std::uint32_t> nodes;
  for (std::uint16_t as : asOfRank) {
    nodes.push_back(wide[as]);
  }
  std::sort(nodes.begin(), nodes.end());
  struct WideEdge {
    std::uint32_t a, b;
    const Edge* edge;
    bool swapped;
  };
  std::vector<WideEdge> sorted;
  sorted.reserve(edges.size());
  for (const Edge& e : edges) {
    const std::uint32_t a = wide[e.a];
    const std::uint32_t b = wide[e.b];
    sorted.push_back(a < b ? WideEdge{a, b, &e, false} : WideEdge{b, a, &e, true});
  }
  std::sort(sorted.begin(), sorted.end(), [](const WideEdge& x, const WideEdge& y) {
    return x.a != y.a ? x.a < y.a : x.b < y.b;
  });
  fprintf(file, "ZNG32\n1\nrib.snapshot-%02d.txt\n", index);
  fprintf(file, "synthetic AS graph, 32-bit AS numbers, seed %llu, snapshot %d of %d\n",
          static_cast<unsigned long long>(opt.seed), index + 1, opt.snapshots);
  fprintf(file, "%zu\n%zu\n", nodes.size(), sorted.size());
  for (std::uint32_t node : nodes) {
    fprintf(file, "%u\n", node);
  }
  for (const WideEdge& w : sorted) {
    const Edge& e = *w.edge;
    const int dir = w.swapped ? -static_cast<int>(e.dir) : static_cast<int>(e.dir);
    fprintf(file, "%u %u %d %d %u %llu %u %llu\n", w.a, w.b, e.oriented ? 1 : 0, dir,
            static_cast<unsigned>(w.swapped ? e.pathsB : e.pathsA),
            static_cast<unsigned long long>(w.swapped ? e.ipsB : e.ipsA),
            static_cast<unsigned>(w.swapped ? e.pathsA : e.pathsB),
            static_cast<unsigned long long>(w.swapped ? e.ipsA : e.ipsB));
  }
}

bool Model::write(int index) const {
  char name[64];
  snprintf(name, sizeof name, "-%02d.zng", index);
  const std::string path = opt.out + name;
  FILE* file = fopen(path.c_str(), "w");
  if (file == nullptr) {
    fprintf(stderr, "cannot create %s: %s\n", path.c_str(), strerror(errno));
    return false;
  }
  if (opt.wide) {
    writeWide(file, index, opt, asOfRank, edges);
  } else {
    writeClassic(file, index);
  }
  const bool failed = ferror(file) != 0;
  if (fclose(file) != 0 || failed) {
    fprintf(stderr, "cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

void Model::writeClassic(FILE* file, int index) const {
  std::vector<std::uint16_t> nodes(asOfRank);
  std::sort(nodes.begin(), nodes.end());
  std::vector<Edge> sorted(edges);
  std::sort(sorted.begin(), sorted.end(),
            [](const Edge& x, const Edge& y) { return x.a != y.a ? x.a < y.a : x.b < y.b; });
  fprintf(file, "ZNG\n1\nrib.snapshot-%02d.txt\n", index);
  fprintf(file, "synthetic AS graph, seed %llu, snapshot %d of %d\n",
          static_cast<unsigned long long>(opt.seed), index + 1, opt.snapshots);
  fprintf(file, "%zu\n%zu\n", nodes.size(), sorted.size());
  for (std::uint16_t node : nodes) {
    fprintf(file, "%u\n", static_cast<unsigned>(node));
  }
  for (const Edge& e : sorted) {
    fprintf(file, "%u %u %d %d %u %llu %u %llu\n", static_cast<unsigned>(e.a),
            static_cast<unsigned>(e.b), e.oriented ? 1 : 0, static_cast<int>(e.dir),
            static_cast<unsigned>(e.pathsA), static_cast<unsigned long long>(e.ipsA),
            static_cast<unsigned>(e.pathsB), static_cast<unsigned long long>(e.ipsB));
  }
}

bool parseNumber(const char* text, double& value) {
  char* end = nullptr;
  value = std::strtod(text, &end);
  return end != text && *end == '\0' && value >= 0;
}

bool parseOptions(int argc, char** argv, Options& opt) {
  for (int i = 1; i < argc; ++i) {
    const char* flag = argv[i];
    if (i + 1 >= argc) {
      return false;
    }
    const char* value = argv[++i];
    double number = 0;
    if (std::strcmp(flag, "--out") == 0) {
      opt.out = value;
      continue;
    }
    if (!parseNumber(value, number)) {
      return false;
    }
    if (std::strcmp(flag, "--nodes") == 0) {
      opt.nodes = static_cast<int>(number);
    } else if (std::strcmp(flag, "--edges") == 0) {
      opt.edges = static_cast<std::uint64_t>(number);
    } else if (std::strcmp(flag, "--snapshots") == 0) {
      opt.snapshots = static_cast<int>(number);
    } else if (std::strcmp(flag, "--seed") == 0) {
      opt.seed = static_cast<std::uint64_t>(number);
    } else if (std::strcmp(flag, "--churn") == 0) {
      opt.churn = number;
    } else if (std::strcmp(flag, "--flip") == 0) {
      opt.flip = number;
    } else if (std::strcmp(flag, "--node-churn") == 0) {
      opt.nodeChurn = number;
    } else if (std::strcmp(flag, "--wide") == 0) {
      opt.wide = number != 0;
    } else {
      return false;
    }
  }
  return !opt.out.empty() && opt.snapshots >= 1 && opt.snapshots <= 100;
}

}  // namespace

int main(int argc, char** argv) {
  Options opt;
  if (!parseOptions(argc, argv, opt)) {
    fprintf(stderr,
            "usage: %s --nodes N --edges E --out PREFIX [--snapshots S] [--seed X] "
            "[--churn PCT] [--flip PCT] [--node-churn PCT] [--wide 1]\n",
            argv[0]);
    return 1;
  }
  Model model(opt);
  if (!model.build()) {
    return 1;
  }
  for (int i = 0; i < opt.snapshots; ++i) {
    if (i > 0) {
      model.evolve();
    }
    if (!model.write(i)) {
      return 1;
    }
  }
  return 0;
}
