#ifndef PLANDREX_BANNER_H_
#define PLANDREX_BANNER_H_

#include <cstdio>

#include "plandrex_version.h"

// Version shown in the banner.
constexpr const char* kPlandrexVersion = PLANDREX_VERSION;

// ANSI sequences used to highlight words on a terminal.
constexpr const char* kBoldOn = "\x1b[1m";
constexpr const char* kUnderlineOn = "\x1b[4m";
constexpr const char* kAttributesOff = "\x1b[0m";

// Writes the one-line banner "plandrex 1.3" to stream, the name in bold when isTerm(stream)
// holds. Only the first call in the process writes anything, whatever stream each call is given.
void printHeader(FILE* stream);

#endif  // PLANDREX_BANNER_H_
