#include "importer/bgpdump_format.h"

#include <cinttypes>
#include <string_view>
#include <utility>

BgpdumpImport::BgpdumpImport(RelationshipLookup lookup, bool classic, bool announcements)
    : relationships(std::move(lookup)), builder(classic, announcements) {}

bool BgpdumpImport::takeLine(const char* begin, const char* end, std::string& /*reason*/) {
  builder.addLine(std::string_view(begin, static_cast<std::size_t>(end - begin)));
  return true;
}

void BgpdumpImport::buildGraph(ASGraph& graph) { builder.build(relationships, graph); }

void BgpdumpImport::printCounts(FILE* stream) const {
  const RibCounts& c = builder.counts();
  const auto line = [stream](const char* label, std::uint64_t value) {
    std::fprintf(stream, "%s: %" PRIu64 "\n", label, value);
  };
  if (c.mrtRecords != 0) {
    line("MRT records", c.mrtRecords);
    line("MRT records skipped (type not read)", c.mrtRecordsSkipped);
    line("MRT prefixes cut by the end of their field", c.mrtPrefixesCut);
  }
  line(builder.announcements() ? "table entries and announcements" : "table entries",
       c.tableEntries);
  line("other lines skipped", c.notTableEntry);
  line("IPv6 routes skipped", c.notIPv4);
  line("routes skipped (no IPv4 prefix or no AS path)", c.badPrefix);
  line("routes skipped (AS path token not an AS number)", c.badAsNumber);
  line("routes skipped (AS path loop)", c.pathLoop);
  line("routes kept", c.routes);
  line("AS paths cut at an AS set", c.cutAtAsSet);
  line("distinct AS paths", c.distinctPaths);
  line(builder.classic() ? "AS pairs dropped (AS number outside 1-65535)"
                         : "AS pairs dropped (AS number outside 1-4294967295)",
       c.pairsDropped);
  line("nodes", c.nodes);
  if (!builder.classic()) {
    line("AS numbers above 65535 kept", c.wideNodes);
  }
  line("adjacencies", c.adjacencies);
  line("peering adjacencies", c.peering);
  line("directed adjacencies", c.directed);
  line("unoriented adjacencies", c.unoriented);
}

bool recognisesBgpdumpLine(const char* begin, const char* end) {
  const std::string_view line(begin, static_cast<std::size_t>(end - begin));
  const std::size_t bar = line.find('|');
  if (bar == std::string_view::npos) {
    return false;
  }
  const std::string_view first = line.substr(0, bar);
  return first == "TABLE_DUMP" || first == "TABLE_DUMP2" || first == "TABLE_DUMP2_AP" ||
         first == "BGP4MP" || first == "BGP4MP_ET" || first == "BGP4MP_AP" ||
         first == "BGP4MP_ET_AP";
}
