#ifndef IMPORTER_IMPORT_OPTIONS_H_
#define IMPORTER_IMPORT_OPTIONS_H_

#include <string>
#include <vector>

#include "importer/import_format.h"

struct FormatEntry;

// The importer's command line.
struct ImportOptions {
  // File names, or "-" for standard input; several only for routing tables,
  // which are read as one table.
  std::vector<std::string> inputs;
  std::string outputFile;                // empty: standard output
  std::vector<std::string> sourceNames;  // the graph's source file names, one per input
  std::string relationshipsFile;         // empty: routing-table adjacencies stay unoriented
  std::string description;               // the graph's description line
  bool descriptionGiven = false;         // --description, even with an empty text
  const FormatEntry* format = nullptr;   // null: detected from the first data line
  ImportSettings settings;
  bool quiet = false;
  bool help = false;
  bool version = false;
};

// Parses argv[1..argc-1]. false: reason says what is wrong with the command
// line. Prints nothing. With --help or --version the rest is not checked.
bool parseImportOptions(int argc, const char* const* argv, ImportOptions& options,
                        std::string& reason);

#endif  // IMPORTER_IMPORT_OPTIONS_H_
