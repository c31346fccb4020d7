#include "importer/link_import.h"

#include <algorithm>
#include <cinttypes>

#include "asgraph/as_graph.h"

namespace {

bool inRange(std::uint32_t as) { return as >= 1 && as <= 65535; }

}  // namespace

bool LinkImport::takeLine(const char* begin, const char* end, std::string& reason) {
  if (!parser(begin, end, link, reason)) {
    return false;
  }
  ++linkLines;
  const bool firstInRange = inRange(link.first);
  const bool secondInRange = inRange(link.second);
  if (firstInRange) {
    nodes.set(link.first);
  } else {
    outOfRangeNumbers.push_back(link.first);
  }
  if (secondInRange) {
    nodes.set(link.second);
  } else {
    outOfRangeNumbers.push_back(link.second);
  }
  if (!firstInRange || !secondInRange) {
    ++droppedOutOfRange;
    return true;
  }
  if (link.first == link.second && !keepSelfLoops) {
    ++droppedSelfLoops;
    return true;
  }
  if (link.unknownCode) {
    ++unknownType;
  }
  relationships.add(static_cast<std::uint16_t>(link.first), static_cast<std::uint16_t>(link.second),
                    link.relationship);
  return true;
}

void LinkImport::finish() {
  if (finished) {
    return;
  }
  finished = true;
  relationships.finish();
  std::sort(outOfRangeNumbers.begin(), outOfRangeNumbers.end());
  outOfRangeNumbers.erase(std::unique(outOfRangeNumbers.begin(), outOfRangeNumbers.end()),
                          outOfRangeNumbers.end());
}

void LinkImport::buildGraph(ASGraph& graph) {
  finish();
  for (std::size_t as = 1; as < nodes.size(); ++as) {
    if (nodes.test(as)) {
      graph.addNode(static_cast<unsigned short>(as), static_cast<unsigned short>(as));
    }
  }
  relationships.addTo(graph);
}

void LinkImport::printCounts(FILE* stream) const {
  std::bitset<65536> linked;
  relationships.forEach([&linked](std::uint16_t smaller, std::uint16_t larger, Relationship) {
    linked.set(smaller);
    linked.set(larger);
  });
  const auto line = [stream](const char* label, std::uint64_t value) {
    std::fprintf(stream, "%s: %" PRIu64 "\n", label, value);
  };
  line("link lines", linkLines);
  line("links dropped (AS number outside 1-65535)", droppedOutOfRange);
  line("AS numbers outside 1-65535", outOfRangeNumbers.size());
  line("self-loops dropped", droppedSelfLoops);
  line("links kept", linkLines - droppedOutOfRange - droppedSelfLoops);
  line("links of unknown relationship type", unknownType);
  line("duplicate links merged", relationships.duplicatesMerged());
  line("conflicting adjacencies made unoriented", relationships.conflicts());
  line("nodes", nodes.count());
  line("isolated nodes", nodes.count() - linked.count());
  line("adjacencies", relationships.adjacencies());
  line("peering adjacencies", relationships.peering());
  line("directed adjacencies", relationships.directed());
  line("unoriented adjacencies", relationships.unoriented());
  line("self-loops kept", relationships.selfLoops());
}
