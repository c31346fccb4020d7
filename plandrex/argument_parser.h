#ifndef PLANDREX_ARGUMENT_PARSER_H_
#define PLANDREX_ARGUMENT_PARSER_H_

#include "engine/cmd_line_parameters.h"

// Size the caller's error buffer must have at least.
constexpr int kErrorBufferSize = 513;

// Scans argv[1..argc-1] into params. Returns true when the command line is valid. On false,
// errorBuffer (at least kErrorBufferSize characters) holds the one reason, and params is left
// partly filled: the caller only destroys it. Prints nothing and never exits.
bool parseArguments(int argc, char** argv, cmdLineParameters& params, char* errorBuffer);

#endif  // PLANDREX_ARGUMENT_PARSER_H_
