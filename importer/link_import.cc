#include "importer/link_import.h"

#include <algorithm>
#include <cinttypes>
#include <string>

#include "asgraph/as_graph.h"

namespace {

// The label of a count that names the range of AS numbers kept.
std::string outside(const char* what, ASNumber largest) {
  return std::string(what) + " outside 1-" + std::to_string(largest);
}

}  // namespace

bool LinkImport::takeLine(const char* begin, const char* end, std::string& reason) {
  if (!parser(begin, end, link, reason)) {
    return false;
  }
  ++linkLines;
  const bool firstInRange = link.first >= kSmallestASNumber && link.first <= largestAS;
  const bool secondInRange = link.second >= kSmallestASNumber && link.second <= largestAS;
  for (const ASNumber as : {link.first, link.second}) {
    if (as < kSmallestASNumber || as > largestAS) {
      outOfRangeNumbers.push_back(as);
    } else if (isWideASNumber(as)) {
      wideNodes.push_back(as);
    } else {
      nodes.set(as);
    }
  }
  if (!firstInRange || !secondInRange) {
    ++droppedOutOfRange;
    if (link.first != 0 && link.second != 0 && (link.first != link.second || keepSelfLoops)) {
      droppedWide.add(link.first, link.second, link.relationship);
    }
    return true;
  }
  if (link.first == link.second && !keepSelfLoops) {
    ++droppedSelfLoops;
    return true;
  }
  if (link.unknownCode) {
    ++unknownType;
  }
  relationships.add(link.first, link.second, link.relationship);
  return true;
}

void LinkImport::finish() {
  if (finished) {
    return;
  }
  finished = true;
  relationships.finish();
  droppedWide.finish();
  for (std::vector<ASNumber>* numbers : {&outOfRangeNumbers, &wideNodes}) {
    std::sort(numbers->begin(), numbers->end());
    numbers->erase(std::unique(numbers->begin(), numbers->end()), numbers->end());
  }
}

void LinkImport::buildGraph(ASGraph& graph) {
  finish();
  for (std::size_t as = 1; as < nodes.size(); ++as) {
    if (nodes.test(as)) {
      graph.addNode(static_cast<ASNumber>(as), static_cast<ASNumber>(as));
    }
  }
  for (const ASNumber as : wideNodes) {
    graph.addNode(as, as);
  }
  relationships.addTo(graph);
}

void LinkImport::printCounts(FILE* stream) const {
  std::vector<ASNumber> linked;
  relationships.forEach([&linked](ASNumber smaller, ASNumber larger, Relationship) {
    linked.push_back(smaller);
    linked.push_back(larger);
  });
  std::sort(linked.begin(), linked.end());
  const auto linkedNodes =
      static_cast<std::uint64_t>(std::unique(linked.begin(), linked.end()) - linked.begin());
  const std::uint64_t nodeCount = nodes.count() + wideNodes.size();
  const auto line = [stream](const char* label, std::uint64_t value) {
    std::fprintf(stream, "%s: %" PRIu64 "\n", label, value);
  };
  line("link lines", linkLines);
  line(outside("links dropped (AS number", largestAS).append(")").c_str(), droppedOutOfRange);
  line(outside("AS numbers", largestAS).c_str(), outOfRangeNumbers.size());
  line("self-loops dropped", droppedSelfLoops);
  line("links kept", linkLines - droppedOutOfRange - droppedSelfLoops);
  line("links of unknown relationship type", unknownType);
  line("duplicate links merged", relationships.duplicatesMerged());
  line("conflicting adjacencies made unoriented", relationships.conflicts());
  line("nodes", nodeCount);
  if (largestAS != kLargestClassicASNumber) {
    line("AS numbers above 65535 kept", wideNodes.size());
  }
  line("isolated nodes", nodeCount - linkedNodes);
  line("adjacencies", relationships.adjacencies());
  line("peering adjacencies", relationships.peering());
  line("directed adjacencies", relationships.directed());
  line("unoriented adjacencies", relationships.unoriented());
  line("self-loops kept", relationships.selfLoops());
}
