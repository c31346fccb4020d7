#ifndef IMPORTER_IMPORT_FORMAT_H_
#define IMPORTER_IMPORT_FORMAT_H_

#include <cstdint>
#include <cstdio>
#include <string>

class ASGraph;
class RelationshipTable;

// What the command line says about how data lines become a graph.
struct ImportSettings {
  bool keepSelfLoops = false;
  // Only AS numbers 1 to 65535, for a classic graph file: adjacencies with a
  // larger number are dropped. Otherwise every number from 1 to 4294967295.
  bool classic = false;
  // Routing tables: UPDATE announcements are routes as well as table entries.
  bool announcements = false;
  // Orients the adjacencies of routing tables; null: they stay unoriented.
  // Not owned; it outlives the import.
  const RelationshipTable* relationships = nullptr;
};

// One input format at work: it takes the data lines of the input (comment and
// empty lines never reach it), builds the graph from them and tells its
// counts. Which format an input has is decided from its first data line (see
// format_registry.h).
class ImportFormat {
 public:
  virtual ~ImportFormat() = default;

  // Takes one data line [begin, end), without its line end. false: the line
  // is not valid in this format, and reason says why (the caller adds the
  // file name and line number).
  virtual bool takeLine(const char* begin, const char* end, std::string& reason) = 0;
  // Adds the nodes and adjacencies of all lines taken to graph; call once,
  // after the last line.
  virtual void buildGraph(ASGraph& graph) = 0;
  // Writes the counts of the lines taken and of the graph built, one
  // "label: number" per line.
  virtual void printCounts(FILE* stream) const = 0;
  // After buildGraph: adjacencies left out for an AS number above 65535
  // (classic only), and how many there were with them.
  virtual std::uint64_t adjacenciesDropped() const = 0;
  virtual std::uint64_t adjacenciesWithDropped() const = 0;
};

#endif  // IMPORTER_IMPORT_FORMAT_H_
