// Feeds arbitrary bytes to plandrex-import's reader as MRT routing data, its
// table entries alone or with UPDATE announcements, unoriented. The reader
// must never read past a record or the input: a damaged record is a refusal
// with a message free of raw control bytes. An accepted input gives a sound
// graph that reads back, and the same graph when read twice as one table
// (covering values count distinct paths and the union of prefixes).

#include <cstddef>
#include <cstdint>
#include <string>

#include "asgraph/as_graph.h"
#include "import_fuzz_checks.h"
#include "importer/format_registry.h"
#include "importer/import_reader.h"

namespace {

// The graph of the input read `times' times as one table; empty when refused.
std::string graphOf(const std::string& name, const ImportSettings& settings, int times) {
  std::string refusal;
  const std::string graph =
      import_fuzz::routingTableGraph(name, findFormat(kMrtFormat), settings, times, refusal);
  if (graph.empty() && refusal.find(": record ") == std::string::npos) {
    import_fuzz::fault("MRT refusal without the record it concerns", refusal);
  }
  return graph;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  ImportSettings settings;
  settings.announcements = (data[0] & 1) != 0;
  const std::string name = import_fuzz::inputFile(data + 1, size - 1);
  const std::string once = graphOf(name, settings, 1);
  if (!once.empty() && graphOf(name, settings, 2) != once) {
    import_fuzz::fault("an MRT input read twice gives another graph than read once", once);
  }
  return 0;
}
