#ifndef CONSOLETOOLS_TERMINAL_H_
#define CONSOLETOOLS_TERMINAL_H_

#include <cstdio>

// True when the stream's descriptor is a character device. This is a device-type test, not a
// terminal-line test: the null device counts as a terminal too. A null stream, or a descriptor
// that fstat cannot query, is not a terminal.
bool isTerm(FILE* stream);

#endif  // CONSOLETOOLS_TERMINAL_H_
