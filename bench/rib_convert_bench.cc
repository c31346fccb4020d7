// Times the conversion of routing tables (bgpdump -m text, uncompressed) into
// a graph with covering values, step by step, and writes the graph to
// standard output.
//
//   rib_convert_bench [--relationships GRAPH.zng] TABLE...
//
// With --relationships, adjacencies take their orientation from a graph file
// (for example one made from a relationship file by the importer).

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "asgraph/as_graph.h"
#include "importer/rib_graph.h"

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool relationshipIn(const ASGraph& graph, ASNumber a, ASNumber b, Relationship& relationship) {
  ASGraph::graph_edge* view = graph.edgeProperties(a, b);
  if (view == nullptr) {
    return false;
  }
  relationship = Relationship::kUnoriented;
  if (view->fwdWeight->oriented) {
    relationship = *view->dir == dir_forward    ? Relationship::kProviderOf
                   : *view->dir == dir_backward ? Relationship::kCustomerOf
                                                : Relationship::kPeering;
  }
  ASGraph::freeView(view);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const auto start = std::chrono::steady_clock::now();
  ASGraph relationships;
  bool haveRelationships = false;
  std::vector<const char*> tables;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--relationships") == 0 && i + 1 < argc) {
      FILE* file = std::fopen(argv[++i], "r");
      if (file == nullptr || !relationships.readFromFile(file)) {
        std::fprintf(stderr, "cannot read relationships from %s\n", argv[i]);
        return 2;
      }
      std::fclose(file);
      haveRelationships = true;
    } else {
      tables.push_back(argv[i]);
    }
  }
  RibGraphBuilder builder;
  char* line = nullptr;
  std::size_t capacity = 0;
  for (const char* name : tables) {
    FILE* file = std::fopen(name, "r");
    if (file == nullptr) {
      std::fprintf(stderr, "cannot open %s\n", name);
      return 2;
    }
    ssize_t length = 0;
    while ((length = getline(&line, &capacity, file)) >= 0) {
      while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r')) {
        --length;
      }
      builder.addLine(std::string_view(line, static_cast<std::size_t>(length)));
    }
    std::fclose(file);
  }
  std::free(line);
  const double readSeconds = secondsSince(start);
  ASGraph graph;
  builder.build(
      [&](ASNumber a, ASNumber b, Relationship& relationship) {
        return haveRelationships && relationshipIn(relationships, a, b, relationship);
      },
      graph);
  const double buildSeconds = secondsSince(start) - readSeconds;
  List<char*> names;
  for (const char* name : tables) {
    const char* slash = std::strrchr(name, '/');
    names.enqueue(const_cast<char*>(slash != nullptr ? slash + 1 : name));
  }
  graph.setSourceFiles(names, true);
  if (!graph.writeToFile(stdout) || std::fflush(stdout) != 0) {
    std::fprintf(stderr, "write failed\n");
    return 3;
  }
  const RibCounts& c = builder.counts();
  std::fprintf(
      stderr,
      "read %.3f s, build %.3f s, write %.3f s; %llu routes, %llu nodes, %llu adjacencies\n",
      readSeconds, buildSeconds, secondsSince(start) - readSeconds - buildSeconds,
      static_cast<unsigned long long>(c.routes), static_cast<unsigned long long>(c.nodes),
      static_cast<unsigned long long>(c.adjacencies));
  return 0;
}
