#include <cstdio>

#include "asgraph/as_graph.h"
#include "cli/exit_status.h"
#include "consoletools/terminal.h"
#include "engine/cmd_line_parameters.h"
#include "fileio/out_of_memory.h"
#include "plandrex/banner.h"
#include "plandrex/driver.h"
#include "plandrex/startup.h"

int main(int argc, char** argv) {
  // The run's three graph objects come first and live until the program ends.
  ASGraph first, second, output;
  cmdLineParameters params;
  const bool stdinIsTerm = isTerm(stdin);
  const bool stdoutIsTerm = isTerm(stdout);

  const auto run = [&] {
    const int status = handleCommandLine(argc, argv, params, stdout, stderr);
    if (status != kContinueRun) {
      return status;
    }
    return runDriver(params, first, second, output, stdinIsTerm, stdoutIsTerm);
  };
  return runWithinMemory(run, stderr, kExitUnwritableOrInvalid, printHeader);
}
