#ifndef IMPORTER_IMPORT_READER_H_
#define IMPORTER_IMPORT_READER_H_

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "importer/import_format.h"

class DecodedInput;
struct FormatEntry;
class RelationshipTable;

// How reading an input ended.
enum class ReadResult {
  kRead,        // every line was taken
  kCannotOpen,  // the input could not be opened
  kInvalid,     // a line, the compressed data or the read itself failed, or there was no data
};

// Reads one input (a file name, or "-" for standard input; gzip and bzip2
// data are decompressed) line by line into an import of its format, or, when
// its first bytes are an MRT record header, record by record into the
// routing-table import. Lines
// whose first non-blank byte is `#' or `%', and lines of blanks only, are
// counted and skipped; the first data line decides the format unless one is
// given.
class ImportReader {
 public:
  // Reads the input; after an earlier successful read, into the same import
  // (its first data line must then be of that format, unless forced). forced:
  // the format to use, or null to detect it (among the relationship formats
  // only, if relationshipsOnly). On failure,
  // message() holds the whole error text, ending in a line feed: "Unable to
  // open file `NAME'" and the system's reason in parentheses on a second line,
  // or "NAME:LINE: reason" for bad data.
  ReadResult read(const char* name, const FormatEntry* forced, bool relationshipsOnly,
                  const ImportSettings& settings);

  // The format of the input and its import; null before a successful read.
  const FormatEntry* entry() const { return format; }
  ImportFormat* import() const { return importer.get(); }
  const std::string& message() const { return error; }

  // Writes the format's name and the line counts, then the import's counts.
  void printCounts(FILE* stream) const;

 private:
  ReadResult invalid(const std::string& name, std::uint64_t line, const std::string& reason);
  ReadResult readMrt(const std::string& prefix, DecodedInput& input, const FormatEntry* forced,
                     const ImportSettings& settings);

  // An MRT record header: enough to tell MRT from text.
  static constexpr std::size_t kMrtHeaderBytes = 12;

  const FormatEntry* format = nullptr;
  std::unique_ptr<ImportFormat> importer;
  std::uint64_t lines = 0;
  std::uint64_t skippedLines = 0;
  std::string error;
};

// Reads a relationship file (CAIDA serial-1 or serial-2, or SNAP as-caida,
// told from its first data line) with the import's merge rules, self-loops
// dropped, into table, which is finished. On failure message holds the error
// text as ImportReader::message() would.
ReadResult readRelationshipFile(const char* name, RelationshipTable& table, std::string& message);

#endif  // IMPORTER_IMPORT_READER_H_
