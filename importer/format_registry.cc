#include "importer/format_registry.h"

#include <cstring>
#include <string>

#include "importer/bgpdump_format.h"
#include "importer/caida_serial_format.h"
#include "importer/link_list_format.h"
#include "importer/relationship_table.h"
#include "importer/snap_caida_format.h"

namespace {

// A link format recognises exactly the lines it can parse.
template <LinkParser parse>
bool parses(const char* begin, const char* end) {
  ParsedLink link;
  std::string reason;
  return parse(begin, end, link, reason);
}

template <LinkParser parse>
std::unique_ptr<ImportFormat> createLinkImport(const ImportSettings& settings) {
  return std::make_unique<LinkImport>(parse, settings);
}

template <LinkParser parse>
constexpr FormatEntry linkFormat(const char* name, const char* summary, bool relationships) {
  return FormatEntry{name, summary, parses<parse>, createLinkImport<parse>, parse, relationships};
}

std::unique_ptr<ImportFormat> createBgpdumpImport(const ImportSettings& settings) {
  const RelationshipTable* table = settings.relationships;
  return std::make_unique<BgpdumpImport>(
      [table](ASNumber smaller, ASNumber larger, Relationship& relationship) {
        return table != nullptr && table->lookup(smaller, larger, relationship);
      },
      settings.classic, settings.announcements);
}

// MRT is told from the input's first bytes, never from a line.
bool recognisesNoLine(const char*, const char*) { return false; }

// Detection tries these in order; their line shapes do not overlap.
const FormatEntry kFormats[] = {
    linkFormat<parseSerial1Link>("serial-1",
                                 "CAIDA AS Relationships: A|B|-1 (A is B's provider),\n"
                                 "A|B|0 (peers)",
                                 true),
    linkFormat<parseSerial2Link>("serial-2",
                                 "CAIDA AS Relationships: A|B|rel|source, rel as for\n"
                                 "serial-1; the source is not kept",
                                 true),
    linkFormat<parseSnapCaidaLink>("snap-caida",
                                   "SNAP as-caida: A<TAB>B<TAB>rel, rel 1 (A is B's\n"
                                   "provider), -1 (A is B's customer), 0 (peers),\n"
                                   "2 (siblings); every link listed from both ends",
                                   true),
    linkFormat<parseLinkListLink>("links",
                                  "two AS numbers per line, separated by blanks, tabs\n"
                                  "or one comma",
                                  false),
    FormatEntry{kRoutingTableFormat,
                "routing tables as bgpdump -m prints them:\n"
                "TABLE_DUMP|time|B|peer|peer AS|prefix|AS path|...\n"
                "(TABLE_DUMP2 too); AS paths make the adjacencies,\n"
                "with path and IP-address covering values",
                recognisesBgpdumpLine, createBgpdumpImport, nullptr, false},
    FormatEntry{kMrtFormat,
                "routing tables and updates as MRT (RFC 6396):\n"
                "TABLE_DUMP, TABLE_DUMP_V2, BGP4MP, BGP4MP_ET; told\n"
                "from the first bytes, read as bgpdump -m prints it",
                recognisesNoLine, createBgpdumpImport, nullptr, false},
};
}  // namespace

const FormatEntry* formats(std::size_t& count) {
  count = sizeof kFormats / sizeof kFormats[0];
  return kFormats;
}

bool readsRoutingTables(const FormatEntry* entry) {
  return entry != nullptr && (std::strcmp(entry->name, kRoutingTableFormat) == 0 ||
                              std::strcmp(entry->name, kMrtFormat) == 0);
}

bool isMrtFormat(const FormatEntry* entry) {
  return entry != nullptr && std::strcmp(entry->name, kMrtFormat) == 0;
}

const FormatEntry* findFormat(const char* name) {
  for (const FormatEntry& entry : kFormats) {
    if (std::strcmp(entry.name, name) == 0) {
      return &entry;
    }
  }
  return nullptr;
}

const FormatEntry* detectFormat(const char* begin, const char* end, bool relationshipsOnly) {
  for (const FormatEntry& entry : kFormats) {
    if ((!relationshipsOnly || entry.relationships) && entry.recognises(begin, end)) {
      return &entry;
    }
  }
  return nullptr;
}
