#include "importer/import_reader.h"

#include <cerrno>
#include <cinttypes>
#include <cstring>

#include "importer/bgpdump_format.h"
#include "importer/decoded_input.h"
#include "importer/format_registry.h"
#include "importer/input_lines.h"
#include "importer/link_fields.h"
#include "importer/link_import.h"
#include "importer/mrt_reader.h"
#include "text/escaped_text.h"

namespace {

// Comment lines start with `#' or `%' after any blanks; blank lines hold nothing else.
bool isDataLine(const char* begin, const char* end) {
  const char* p = begin;
  while (p != end && (*p == ' ' || *p == '\t')) {
    ++p;
  }
  return p != end && *p != '#' && *p != '%';
}

}  // namespace

ReadResult ImportReader::invalid(const std::string& name, std::uint64_t line,
                                 const std::string& reason) {
  error = name + ":" + std::to_string(line) + ": " + reason + "\n";
  importer.reset();
  format = nullptr;
  return ReadResult::kInvalid;
}

ReadResult ImportReader::read(const char* name, const FormatEntry* forced, bool relationshipsOnly,
                              const ImportSettings& settings) {
  const std::string prefix = std::strcmp(name, "-") == 0 ? "(standard input)" : escaped(name);
  DecodedInput input;
  if (!input.open(name)) {
    error = "Unable to open file `" + escaped(name) + "'\n(" + std::strerror(errno) + ")\n";
    return ReadResult::kCannotOpen;
  }
  // MRT is told from its first bytes; a routing-table format given by name
  // still lets them decide, --format mrt makes every input MRT. A failure to
  // decode them is told when the lines are read. A relationship file is never
  // MRT: only link formats give relationships.
  if (!relationshipsOnly && (forced == nullptr || readsRoutingTables(forced))) {
    const unsigned char* first = nullptr;
    std::size_t count = 0;
    if (isMrtFormat(forced) ||
        (input.peek(kMrtHeaderBytes, first, count) && MrtReader::looksLikeMrt(first, count))) {
      return readMrt(prefix, input, forced, settings);
    }
  }
  InputLines reader(input);
  std::string reason;
  bool firstDataLine = true;
  while (reader.next()) {
    ++lines;
    const char* begin = reader.begin();
    const char* end = reader.end();
    if (!isDataLine(begin, end)) {
      ++skippedLines;
      continue;
    }
    if (importer == nullptr) {
      format = forced != nullptr ? forced : detectFormat(begin, end, relationshipsOnly);
      if (format == nullptr) {
        // --format names the inputs' format, never the relationship file's.
        const char* hint = relationshipsOnly
                               ? " (a relationship file is serial-1, serial-2 or snap-caida)"
                               : " (name it with --format)";
        return invalid(prefix, reader.number(),
                       "unknown format of line " + quoted(begin, end) + hint);
      }
      importer = format->create(settings);
    } else if (firstDataLine && forced == nullptr &&
               !(isMrtFormat(format) ? recognisesBgpdumpLine(begin, end)
                                     : format->recognises(begin, end))) {
      return invalid(prefix, reader.number(),
                     "line " + quoted(begin, end) + " is not in the format of the inputs before (" +
                         format->name + ")");
    }
    firstDataLine = false;
    if (!importer->takeLine(begin, end, reason)) {
      return invalid(prefix, reader.number(), reason);
    }
  }
  if (reader.failed()) {
    return invalid(prefix, reader.number(), reader.reason());
  }
  if (firstDataLine) {
    error = prefix + ": no data lines (empty input)\n";
    return ReadResult::kInvalid;
  }
  return ReadResult::kRead;
}

ReadResult ImportReader::readMrt(const std::string& prefix, DecodedInput& input,
                                 const FormatEntry* forced, const ImportSettings& settings) {
  if (importer == nullptr) {
    format = forced != nullptr ? forced : findFormat(kMrtFormat);
    importer = format->create(settings);
  } else if (!readsRoutingTables(format)) {
    error =
        prefix + ": MRT data is not in the format of the inputs before (" + format->name + ")\n";
    importer.reset();
    format = nullptr;
    return ReadResult::kInvalid;
  }
  // Both routing-table formats make a BgpdumpImport.
  MrtReader reader(static_cast<BgpdumpImport*>(importer.get())->routes());
  std::string reason;
  if (!reader.read(input, reason)) {
    error = prefix + ": " + reason + "\n";
    importer.reset();
    format = nullptr;
    return ReadResult::kInvalid;
  }
  return ReadResult::kRead;
}

void ImportReader::printCounts(FILE* stream) const {
  std::fprintf(stream, "format: %s\n", format->name);
  std::fprintf(stream, "lines: %" PRIu64 "\n", lines);
  std::fprintf(stream, "comment and empty lines: %" PRIu64 "\n", skippedLines);
  importer->printCounts(stream);
}

ReadResult readRelationshipFile(const char* name, RelationshipTable& table, std::string& message) {
  ImportReader reader;
  const ReadResult result = reader.read(name, nullptr, true, ImportSettings{});
  if (result != ReadResult::kRead) {
    message = reader.message();
    return result;
  }
  // Only link formats are relationship formats.
  auto* links = static_cast<LinkImport*>(reader.import());
  links->finish();
  table = links->takeTable();
  return ReadResult::kRead;
}
