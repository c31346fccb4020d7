#include "plandrex/startup.h"

#include "plandrex/argument_parser.h"
#include "plandrex/banner.h"
#include "plandrex/exit_status.h"
#include "plandrex/help.h"

int handleCommandLine(int argc, char** argv, cmdLineParameters& params, FILE* out, FILE* err) {
  char reason[kErrorBufferSize];
  if (!parseArguments(argc, argv, params, reason)) {
    printHeader(err);
    fprintf(err, "Syntax error: %s\n", reason);
    fprintf(err, "Type %s --help for more information\n", argv[0]);
    return kExitCommandLineRejected;
  }
  if (params.help) {
    printHelp(out, argv[0]);
    return kExitSuccess;
  }
  return kContinueRun;
}
