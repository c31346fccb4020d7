// Times the graph file reader on its own: how long ASGraph::readFromFile takes per edge line.
//
//   graph_read_bench FILE [ROUNDS]
//
// Besides reading FILE as it is, it reads a copy whose node list is empty: every edge line is
// then read, checked and converted as usual, but names no node of the graph and adds nothing, so
// that copy times the reading and parsing alone, without the graph's inserts. Each figure is the
// fastest of ROUNDS rounds (default 5), in nanoseconds per edge line. Run two builds of it one
// after the other on the same file to compare readers.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "asgraph/as_graph.h"

namespace {

// Header lines before the node count: marker, source count, the names, the comment.
bool copyWithoutNodes(const char* from, const char* to, unsigned long& edgeLines) {
  FILE* in = std::fopen(from, "r");
  FILE* out = std::fopen(to, "w");
  if (in == nullptr || out == nullptr) {
    return false;
  }
  char* line = nullptr;
  std::size_t capacity = 0;
  auto copyLine = [&]() {
    if (getline(&line, &capacity, in) < 0) {
      return false;
    }
    std::fputs(line, out);
    return true;
  };
  bool ok = copyLine() && getline(&line, &capacity, in) >= 0;
  const long sources = ok ? std::strtol(line, nullptr, 10) : 0;
  std::fputs(line, out);
  for (long i = 0; ok && i <= sources; ++i) {
    ok = copyLine();
  }
  unsigned long nodes = 0;
  if (ok && getline(&line, &capacity, in) >= 0) {
    nodes = std::strtoul(line, nullptr, 10);
    ok = getline(&line, &capacity, in) >= 0;
    edgeLines = std::strtoul(line, nullptr, 10);
  }
  std::fprintf(out, "0\n%lu\n", edgeLines);
  for (unsigned long i = 0; ok && i < nodes; ++i) {
    ok = getline(&line, &capacity, in) >= 0;
  }
  while (ok && copyLine()) {
  }
  std::free(line);
  std::fclose(in);
  return std::fclose(out) == 0 && ok;
}

// Fastest of rounds reads, in seconds.
double fastestRead(const char* name, int rounds) {
  double best = 1e30;
  for (int round = 0; round < rounds; ++round) {
    FILE* stream = std::fopen(name, "r");
    if (stream == nullptr) {
      std::perror(name);
      std::exit(2);
    }
    const auto start = std::chrono::steady_clock::now();
    {
      ASGraph graph;
      if (!graph.readFromFile(stream)) {
        std::fprintf(stderr, "%s: %s\n", name, graph.errReason());
        std::exit(3);
      }
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::fclose(stream);
    best = std::min(best, took.count());
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FILE [ROUNDS]\n", argv[0]);
    return 1;
  }
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  char nodeless[] = "/tmp/graph_read_bench.XXXXXX";
  const int fd = mkstemp(nodeless);
  if (fd < 0) {
    std::perror("mkstemp");
    return 2;
  }
  close(fd);
  unsigned long edgeLines = 0;
  if (!copyWithoutNodes(argv[1], nodeless, edgeLines) || edgeLines == 0) {
    std::fprintf(stderr, "%s: cannot make a copy without nodes\n", argv[1]);
    unlink(nodeless);
    return 2;
  }
  const double parse = fastestRead(nodeless, rounds);
  const double whole = fastestRead(argv[1], rounds);
  unlink(nodeless);
  std::printf("read+parse %.1f ns/line   whole read %.1f ns/line   (%lu edge lines)\n",
              parse * 1e9 / static_cast<double>(edgeLines),
              whole * 1e9 / static_cast<double>(edgeLines), edgeLines);
  return 0;
}
