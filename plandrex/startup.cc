#include "plandrex/startup.h"

#include <cerrno>
#include <cstring>

#include "fileio/output_file.h"
#include "plandrex/argument_parser.h"
#include "plandrex/banner.h"
#include "plandrex/exit_status.h"
#include "plandrex/help.h"
#include "text/escaped_text.h"

int handleCommandLine(int argc, char** argv, cmdLineParameters& params, FILE* out, FILE* err) {
  char reason[kErrorBufferSize];
  if (!parseArguments(argc, argv, params, reason)) {
    printHeader(err);
    fprintf(err, "Syntax error: %s\n", reason);
    fprintf(err, "Type %s --help for more information\n", escaped(argv[0]).c_str());
    return kExitCommandLineRejected;
  }
  if (params.help) {
    // Checked like the report: help that never reached its reader is no success.
    errno = 0;
    printHelp(out, argv[0]);
    int failure = ferror(out) ? errno : 0;
    if (fflush(out) != 0 && failure == 0) {
      failure = errno;
    }
    if (ferror(out) || failure != 0) {
      printHeader(err);
      fputs(cannotWriteMessage(nullptr, failure != 0 ? failure : EIO).c_str(), err);
      return kExitUnwritableOrInvalid;
    }
    return kExitSuccess;
  }
  return kContinueRun;
}
