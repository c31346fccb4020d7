#ifndef PLANDREX_HELP_H_
#define PLANDREX_HELP_H_

#include <cstdio>

// Writes the banner (unless one was already written in this process) and the 99-line usage text
// to stream. programName is shown in the USAGE line as given. Words are highlighted with ANSI
// sequences only when isTerm(stream) holds.
void printHelp(FILE* stream, char* programName);

#endif  // PLANDREX_HELP_H_
