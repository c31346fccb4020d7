#include "plandrex/startup.h"

#include "cli/exit_status.h"
#include "cli/program_info.h"
#include "cli/syntax_error.h"
#include "plandrex/argument_parser.h"
#include "plandrex/banner.h"
#include "plandrex/help.h"

int handleCommandLine(int argc, char** argv, cmdLineParameters& params, FILE* out, FILE* err) {
  char reason[kErrorBufferSize];
  if (!parseArguments(argc, argv, params, reason)) {
    printHeader(err);
    return reportSyntaxError(err, argv[0], reason);
  }
  if (params.help) {
    return printProgramInfo([argv](FILE* stream) { printHelp(stream, argv[0]); }, out, err,
                            printHeader);
  }
  return kContinueRun;
}
