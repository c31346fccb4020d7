// Feeds arbitrary bytes to plandrex-import's reader as a relationship file or
// link list: detected, or in each link format named, with and without
// self-loops kept, and as the relationship file of routing tables. Whatever
// it reads must make a sound graph that reads back; whatever it refuses must
// be told in a message without raw control bytes; a relationship table must
// answer the same link from both ends.

#include <cstddef>
#include <cstdint>
#include <string>

#include "asgraph/as_graph.h"
#include "import_fuzz_checks.h"
#include "importer/format_registry.h"
#include "importer/import_reader.h"
#include "importer/relationship_table.h"

namespace {

void checkRelationshipFile(const std::string& name) {
  RelationshipTable table;
  std::string message;
  if (readRelationshipFile(name.c_str(), table, message) != ReadResult::kRead) {
    import_fuzz::checkMessage(message);
    return;
  }
  std::uint64_t merged = 0;
  table.forEach([&](ASNumber smaller, ASNumber larger, Relationship relationship) {
    ++merged;
    Relationship fromSmaller;
    Relationship fromLarger;
    if (smaller > larger || !table.lookup(smaller, larger, fromSmaller) ||
        !table.lookup(larger, smaller, fromLarger) || fromSmaller != relationship ||
        fromLarger != (smaller == larger ? relationship : seenFromOtherEnd(relationship))) {
      import_fuzz::fault("a link answers differently from its two ends");
    }
  });
  if (merged != table.adjacencies()) {
    import_fuzz::fault("adjacency count differs from the adjacencies");
  }
  ASGraph graph;
  table.addTo(graph);
  import_fuzz::checkGraphReadsBack(graph);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  // The first byte picks the way in: detection, a link format named, or the
  // relationship file; its top bit keeps self-loops.
  const unsigned choice = data[0] % 6;
  ImportSettings settings;
  settings.keepSelfLoops = (data[0] & 0x80) != 0;
  const std::string name = import_fuzz::inputFile(data + 1, size - 1);
  if (choice == 5) {
    checkRelationshipFile(name);
    return 0;
  }
  std::size_t count = 0;
  const FormatEntry* entries = formats(count);
  const FormatEntry* forced = choice == 0 ? nullptr : &entries[choice - 1];
  ImportReader reader;
  if (reader.read(name.c_str(), forced, false, settings) != ReadResult::kRead) {
    import_fuzz::checkMessage(reader.message());
    return 0;
  }
  ASGraph graph;
  reader.import()->buildGraph(graph);
  import_fuzz::checkGraphReadsBack(graph);
  FILE* counts = std::fopen("/dev/null", "w");
  if (counts != nullptr) {
    reader.printCounts(counts);
    std::fclose(counts);
  }
  return 0;
}
