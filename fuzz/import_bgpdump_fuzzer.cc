// Feeds arbitrary bytes to plandrex-import's reader as a routing table
// (bgpdump -m lines), unoriented or oriented by a small relationship table.
// The graph must be sound and read back; a table read twice is the same
// table (covering values count distinct paths and the union of prefixes), so
// it must give the same graph; a refusal is told without raw control bytes.

#include <cstddef>
#include <cstdint>
#include <string>

#include "asgraph/as_graph.h"
#include "import_fuzz_checks.h"
#include "importer/format_registry.h"
#include "importer/import_reader.h"
#include "importer/relationship_table.h"

namespace {

const RelationshipTable& smallTable() {
  static const RelationshipTable table = [] {
    RelationshipTable made;
    const Relationship kinds[] = {Relationship::kPeering, Relationship::kProviderOf,
                                  Relationship::kCustomerOf, Relationship::kUnoriented};
    for (std::uint16_t a = 1; a <= 12; ++a) {
      for (std::uint16_t b = a; b <= 12; b += 3) {
        made.add(a, b, kinds[(a + b) % 4]);
      }
    }
    made.finish();
    return made;
  }();
  return table;
}

// The graph of the input read `times' times as one table; empty when refused.
std::string graphOf(const std::string& name, const ImportSettings& settings, int times) {
  std::string refusal;
  return import_fuzz::routingTableGraph(name, findFormat(kRoutingTableFormat), settings, times,
                                        refusal);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  ImportSettings settings;
  if ((data[0] & 1) != 0) {
    settings.relationships = &smallTable();
  }
  const std::string name = import_fuzz::inputFile(data + 1, size - 1);
  const std::string once = graphOf(name, settings, 1);
  if (!once.empty() && graphOf(name, settings, 2) != once) {
    import_fuzz::fault("a table read twice gives another graph than read once", once);
  }
  return 0;
}
