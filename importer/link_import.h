#ifndef IMPORTER_LINK_IMPORT_H_
#define IMPORTER_LINK_IMPORT_H_

#include <bitset>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "importer/import_format.h"
#include "importer/link_fields.h"
#include "importer/relationship_table.h"

// Parses one data line of a link format into a link. false: reason says why.
using LinkParser = bool (*)(const char* begin, const char* end, ParsedLink& link,
                            std::string& reason);

// The import of every format whose lines are links (relationship files and
// plain link lists): each line gives a link; links with an AS number outside
// 1 to 4294967295 (classic: 1 to 65535) are dropped, and so are self-loops
// unless they are kept; the rest are merged in a RelationshipTable. Every AS
// number in range that a line names becomes a node, also when all of its
// links were dropped.
class LinkImport : public ImportFormat {
 public:
  LinkImport(LinkParser parser, const ImportSettings& settings)
      : parser(parser),
        keepSelfLoops(settings.keepSelfLoops),
        largestAS(settings.classic ? kLargestClassicASNumber : kLargestWideASNumber) {}

  bool takeLine(const char* begin, const char* end, std::string& reason) override;
  void buildGraph(ASGraph& graph) override;
  void printCounts(FILE* stream) const override;
  std::uint64_t adjacenciesDropped() const override { return droppedWide.adjacencies(); }
  std::uint64_t adjacenciesWithDropped() const override {
    return relationships.adjacencies() + droppedWide.adjacencies();
  }

  // The merged adjacencies; finished once buildGraph() or finish() ran.
  const RelationshipTable& table() const { return relationships; }
  // Merges the links taken so far without building a graph; later calls do
  // nothing.
  void finish();
  // Hands the merged table over; table() is empty afterwards.
  RelationshipTable takeTable() { return std::move(relationships); }

 private:
  LinkParser parser;
  bool keepSelfLoops;
  ASNumber largestAS;
  ParsedLink link;  // reused for every line
  RelationshipTable relationships;
  // Classic only: the adjacencies dropped for a number above 65535, merged
  // by the same rules, for the description line's count.
  RelationshipTable droppedWide;
  std::bitset<kLargestClassicASNumber + 1> nodes;
  // The nodes above 65535: every occurrence while reading, made distinct by
  // finish().
  std::vector<ASNumber> wideNodes;
  // Every occurrence while reading, made distinct by finish(): cheaper than a
  // hash set when most links of a file are dropped.
  std::vector<std::uint32_t> outOfRangeNumbers;
  std::uint64_t linkLines = 0;
  std::uint64_t droppedOutOfRange = 0;
  std::uint64_t droppedSelfLoops = 0;
  std::uint64_t unknownType = 0;
  bool finished = false;
};

#endif  // IMPORTER_LINK_IMPORT_H_
