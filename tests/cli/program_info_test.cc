#include "cli/program_info.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cli/exit_status.h"
#include "tests/e2e/temp_dir.h"

namespace {

int headers = 0;
void countHeader(FILE* err) {
  ++headers;
  std::fputs("banner\n", err);
}

std::string contents(FILE* stream) {
  std::rewind(stream);
  std::string text;
  for (int c; (c = std::fgetc(stream)) != EOF;) {
    text += static_cast<char>(c);
  }
  return text;
}

// Help text that did not reach its reader is a failure, reported once, after the header; text
// that did is a success with nothing on err. Large text fails while it is written, small text only
// when flushed: both are seen.
TEST(ProgramInfoTest, AFailedWriteIsReportedWithTheSystemsReason) {
  const std::string large(64 * 1024, 'x');
  for (const char* target : {"/dev/full", "ok"}) {
    for (const std::string& text : {std::string("help\n"), large}) {
      e2e::TempDir dir;
      const bool full = std::string(target) == "/dev/full";
      FILE* out = std::fopen(full ? target : dir.file(target).c_str(), "w");
      FILE* err = std::tmpfile();
      ASSERT_NE(out, nullptr);
      ASSERT_NE(err, nullptr);
      headers = 0;
      const int status = printProgramInfo(
          [&text](FILE* stream) { std::fputs(text.c_str(), stream); }, out, err, countHeader);
      std::fclose(out);
      EXPECT_EQ(status, full ? kExitUnwritableOrInvalid : kExitSuccess) << text.size();
      EXPECT_EQ(
          contents(err),
          full ? "banner\nUnable to write to standard output\n(No space left on device)\n" : "")
          << text.size();
      EXPECT_EQ(headers, full ? 1 : 0);
      if (!full) {
        EXPECT_EQ(dir.read(target), text);
      }
      std::fclose(err);
    }
  }
}

}  // namespace
