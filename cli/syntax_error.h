#ifndef CLI_SYNTAX_ERROR_H_
#define CLI_SYNTAX_ERROR_H_

#include <cstdio>

// Writes a rejected command line's two lines to err, "Syntax error: REASON" and "Type PROGRAM
// --help for more information", and returns kExitCommandLineRejected. Both texts may quote the
// command line, so both are escaped as messages quote names; text escaped before stays as it is.
int reportSyntaxError(FILE* err, const char* program, const char* reason);

#endif  // CLI_SYNTAX_ERROR_H_
