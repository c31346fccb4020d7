#ifndef IMPORTER_IMPORT_OPTIONS_H_
#define IMPORTER_IMPORT_OPTIONS_H_

#include <string>

#include "importer/import_format.h"

struct FormatEntry;

// The importer's command line.
struct ImportOptions {
  std::string input;                    // a file name, or "-" for standard input
  std::string outputFile;               // empty: standard output
  std::string sourceName;               // the graph's source file name
  std::string description;              // the graph's description line
  const FormatEntry* format = nullptr;  // null: detected from the first data line
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
