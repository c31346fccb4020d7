#include "cli/syntax_error.h"

#include "cli/exit_status.h"
#include "text/escaped_text.h"

int reportSyntaxError(FILE* err, const char* program, const char* reason) {
  std::fprintf(err, "Syntax error: %s\nType %s --help for more information\n",
               escaped(reason).c_str(), escaped(program).c_str());
  return kExitCommandLineRejected;
}
