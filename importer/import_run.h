#ifndef IMPORTER_IMPORT_RUN_H_
#define IMPORTER_IMPORT_RUN_H_

#include <cstdio>

struct ImportOptions;

// Converts the input that options name: reads it whole, builds the graph,
// writes it to standard output or to the -o file (which is replaced only
// when complete), then prints the counts on err unless quiet. Errors go to
// err. Returns the exit status.
int runImport(const ImportOptions& options, FILE* err);

// Handles the whole command line: parses it, prints the help, the version or
// a syntax error, or runs the import. Returns the exit status.
int importMain(int argc, const char* const* argv);

#endif  // IMPORTER_IMPORT_RUN_H_
