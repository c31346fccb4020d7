#include "cli/syntax_error.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cli/exit_status.h"

namespace {

std::string syntaxError(const char* program, const char* reason) {
  FILE* err = std::tmpfile();
  EXPECT_EQ(reportSyntaxError(err, program, reason), kExitCommandLineRejected);
  std::rewind(err);
  std::string text;
  for (int c; (c = std::fgetc(err)) != EOF;) {
    text += static_cast<char>(c);
  }
  std::fclose(err);
  return text;
}

// Whatever a reason or a program name quotes from the command line reaches the terminal escaped,
// and a reason its parser escaped already is shown as it is, not escaped twice.
TEST(SyntaxErrorTest, QuotedBytesAreEscapedOnce) {
  EXPECT_EQ(syntaxError("plandrex-table", "unknown command `\x1b[2J'"),
            "Syntax error: unknown command `\\x1b[2J'\n"
            "Type plandrex-table --help for more information\n");
  EXPECT_EQ(syntaxError("./p\x7flan", "unknown option `\\x1b[2J'\tx \xc3\xa9"),
            "Syntax error: unknown option `\\x1b[2J'\tx \xc3\xa9\n"
            "Type ./p\\x7flan --help for more information\n");
}

}  // namespace
