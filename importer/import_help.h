#ifndef IMPORTER_IMPORT_HELP_H_
#define IMPORTER_IMPORT_HELP_H_

#include <cstdio>

// Writes the importer's help: usage, formats, conversion rules, options,
// counts and exit statuses.
void printImportHelp(FILE* stream);

// Writes "plandrex-import VERSION".
void printImportVersion(FILE* stream);

#endif  // IMPORTER_IMPORT_HELP_H_
