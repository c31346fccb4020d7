#ifndef PLANDREX_STARTUP_H_
#define PLANDREX_STARTUP_H_

#include <cstdio>

struct cmdLineParameters;

// Returned by handleCommandLine when the run goes on with the parsed parameters.
constexpr int kContinueRun = -1;

// Parses argv into params and handles the command lines that end the run at once. A rejected
// command line writes the banner (unless already written) and the syntax-error lines to err and
// gives exit status 1; --help writes the help to out and gives 0, or 3 after "Unable to write to
// standard output" and the system's reason on err when out did not take it all. Otherwise nothing
// is written and the result is kContinueRun.
int handleCommandLine(int argc, char** argv, cmdLineParameters& params, FILE* out, FILE* err);

#endif  // PLANDREX_STARTUP_H_
