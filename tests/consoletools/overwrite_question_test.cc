#include "consoletools/overwrite_question.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/e2e/process_runner.h"
#include "tests/e2e/pty_runner.h"

namespace {

const char kQuestion[] =
    "Warning: file `out.zng'\n"
    "already exists and is about to be overwritten.\n"
    "Do you want to proceed (y/n)? ";

// Asks about out.zng in a child process whose standard input is stdinBytes. Standard output
// gets "yes" or "no", then "|" and whatever standard input still holds after the question.
e2e::ProcessResult ask(const std::string& stdinBytes) {
  e2e::RunOptions options;
  options.input = e2e::StdinSource::bytes(stdinBytes);
  return e2e::runFunction(
      [] {
        char name[] = "out.zng";
        const bool yes = askOverwrite(name);
        printf("%s|", yes ? "yes" : "no");
        for (int c = getchar(); c != EOF; c = getchar()) {
          putchar(c);
        }
        return 0;
      },
      options);
}

struct AnswerCase {
  const char* input;
  const char* expectedOut;
};

TEST(AskOverwriteTest, AnswersAndWhatIsLeftOfTheInput) {
  const AnswerCase cases[] = {
      {"y\nnext\n", "yes|next\n"},
      {"Y\nnext\n", "yes|next\n"},
      {"yes\nnext\n", "yes|next\n"},
      {"Yes\nnext\n", "yes|next\n"},
      {"y", "yes|"},    // no newline: end of input ends the answer
      {"yes", "yes|"},  // end of input while the rest of the line is dropped
      {"n\nnext\n", "no|next\n"},
      {"N\nnext\n", "no|next\n"},
      {"no\nnext\n", "no|next\n"},
      {"\nnext\n", "no|next\n"},    // empty line
      {" y\nnext\n", "no|next\n"},  // a blank before the y
      {"ok\nnext\n", "no|next\n"},
      {"\ty\n", "no|"},
      {"", "no|"},                        // end of input at once
      {"y\r\nnext\n", "yes|next\n"},      // the carriage return belongs to the dropped rest
      {"yes\n\nnext\n", "yes|\nnext\n"},  // only one line is consumed
  };
  for (const AnswerCase& c : cases) {
    SCOPED_TRACE(std::string("input: ") + c.input);
    const e2e::ProcessResult result = ask(c.input);
    ASSERT_TRUE(result.exitedWith(0)) << result;
    EXPECT_EQ(result.out, c.expectedOut);
    EXPECT_EQ(result.err, kQuestion);
  }
}

TEST(AskOverwriteTest, QuestionQuotesTheNameAsGiven) {
  e2e::RunOptions options;
  options.input = e2e::StdinSource::bytes("n\n");
  const e2e::ProcessResult result = e2e::runFunction(
      [] {
        char name[] = "dir/with space/%s.zng";
        return askOverwrite(name) ? 1 : 0;
      },
      options);
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.err,
            "Warning: file `dir/with space/%s.zng'\n"
            "already exists and is about to be overwritten.\n"
            "Do you want to proceed (y/n)? ");
}

TEST(AskOverwriteTest, QuestionIsOnScreenBeforeTheAnswerIsRead) {
  e2e::PtySession session;
  ASSERT_TRUE(session.startFunction(
      [] {
        char name[] = "out.zng";
        return askOverwrite(name) ? 10 : 20;
      },
      e2e::PtyOptions()))
      << session.error();
  // Standard error is the terminal here: the question must be flushed while the child waits.
  ASSERT_TRUE(session.waitFor("(y/n)? ")) << session.screen();
  ASSERT_TRUE(session.type("Yes\n"));
  const e2e::ProcessResult result = session.finish();
  EXPECT_TRUE(result.exitedWith(10)) << result;
  EXPECT_EQ(result.out, kQuestion);
}

}  // namespace
