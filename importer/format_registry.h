#ifndef IMPORTER_FORMAT_REGISTRY_H_
#define IMPORTER_FORMAT_REGISTRY_H_

#include <cstddef>
#include <memory>

#include "importer/import_format.h"
#include "importer/link_import.h"

// One input format the importer knows.
struct FormatEntry {
  const char* name;     // as given to --format and shown in the counts
  const char* summary;  // for the help: lines of up to 52 characters, "\n" between them
  // Whether [begin, end) is a data line of this format; the first data line
  // of an input decides its format.
  bool (*recognises)(const char* begin, const char* end);
  // A new import of this format.
  std::unique_ptr<ImportFormat> (*create)(const ImportSettings& settings);
  // The line parser of a link format, or null.
  LinkParser linkParser;
  // The lines state business relationships (so the file can serve to orient
  // adjacencies found elsewhere).
  bool relationships;
};

// The routing-table formats, text and binary: the only ones that read several
// inputs as one (in any mix of the two) and take relationships from another
// file.
constexpr const char* kRoutingTableFormat = "bgpdump";
constexpr const char* kMrtFormat = "mrt";
bool readsRoutingTables(const FormatEntry* entry);
bool isMrtFormat(const FormatEntry* entry);

// Every format, in the order in which detection tries them.
const FormatEntry* formats(std::size_t& count);
// The format of that name, or null.
const FormatEntry* findFormat(const char* name);
// The first format (of the relationship formats only, if asked) that
// recognises the line, or null.
const FormatEntry* detectFormat(const char* begin, const char* end, bool relationshipsOnly);

#endif  // IMPORTER_FORMAT_REGISTRY_H_
