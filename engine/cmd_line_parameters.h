#ifndef ENGINE_CMD_LINE_PARAMETERS_H_
#define ENGINE_CMD_LINE_PARAMETERS_H_

#include "graph/list.h"

// The parsed command line of one run. The record owns the strings in inputFiles and outputFile
// (allocated with new[]); it is created once, filled by parseArguments and never copied.
struct cmdLineParameters {
  // Longest comment kept; longer --comment values are cut.
  static constexpr int kCommentLength = 512;

  // Empty lists, no output file, empty comment. The flags are left for parseArguments to clear.
  cmdLineParameters();
  // Releases every input name and the output name.
  ~cmdLineParameters();
  cmdLineParameters(const cmdLineParameters&) = delete;
  cmdLineParameters& operator=(const cmdLineParameters&) = delete;

  // One bit mask per comma-separated item of the --over: / --comp: formula, in command-line
  // order (bits in engine/condition_letters.h). Empty when the option was not given.
  List<int> overConditions, compConditions;
  // Input names in command-line order; "-" stands for standard input.
  List<char*> inputFiles;
  // Name given with -o, or null for standard output.
  char* outputFile;
  // Value of --comment, cut to kCommentLength characters; empty by default.
  char comment[kCommentLength + 1];
  // listMode: -l; negate: -n; buildGraph: --over: or --comp: (which one is told by the non-empty
  // condition list); multiMode: --multi; force: -f; help: --help.
  bool listMode, negate, buildGraph, multiMode, force, help;
};

#endif  // ENGINE_CMD_LINE_PARAMETERS_H_
