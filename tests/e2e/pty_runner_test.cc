#include "tests/e2e/pty_runner.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace e2e {
namespace {

PtyOptions shellOptions(const std::string& script) {
  PtyOptions options;
  options.args = {"-c", script};
  return options;
}

TEST(PtyRunnerTest, StdinAndStdoutAreTheTerminal) {
  const ProcessResult result = runInTerminal(
      "/bin/sh", shellOptions("test -t 0 && test -t 1 && test -t 2 && printf 'tty\\n'"));
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.out, "tty\n");
}

TEST(PtyRunnerTest, NewlinesAreTranslatedOnlyWhenAsked) {
  PtyOptions options = shellOptions("printf 'a\\nb\\n'");
  options.terminal.translateNewlines = true;
  EXPECT_EQ(runInTerminal("/bin/sh", options).out, "a\r\nb\r\n");
  options.terminal.translateNewlines = false;
  EXPECT_EQ(runInTerminal("/bin/sh", options).out, "a\nb\n");
}

TEST(PtyRunnerTest, SeparateStderrIsAPipe) {
  PtyOptions options = shellOptions("test -t 2 || printf 'pipe' >&2; printf 'screen'");
  options.separateStderr = true;
  const ProcessResult result = runInTerminal("/bin/sh", options);
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.out, "screen");
  EXPECT_EQ(result.err, "pipe");
}

TEST(PtyRunnerTest, AnswersAQuestionTypedAfterThePrompt) {
  PtySession session;
  ASSERT_TRUE(
      session.start("/bin/sh", shellOptions("printf 'name? '; read a; printf '[%s]' \"$a\"")))
      << session.error();
  ASSERT_TRUE(session.waitFor("name? "));
  ASSERT_TRUE(session.type("yes please\n"));
  const ProcessResult result = session.finish();
  EXPECT_TRUE(result.exitedWith(0)) << result;
  // No echo by default: the screen holds only what the program wrote.
  EXPECT_EQ(result.out, "name? [yes please]");
}

TEST(PtyRunnerTest, EchoShowsTypedInput) {
  PtyOptions options = shellOptions("read a; printf '<%s>' \"$a\"");
  options.terminal.echo = true;
  const ProcessResult result = runInTerminal("/bin/sh", options, "hi\n");
  EXPECT_EQ(result.out, "hi\n<hi>");
}

TEST(PtyRunnerTest, EndOfInputCharacterEndsTheInput) {
  PtySession session;
  ASSERT_TRUE(session.start("/bin/sh", shellOptions("cat; printf 'eof'")));
  ASSERT_TRUE(session.type("line\n"));
  ASSERT_TRUE(session.typeEndOfInput());
  const ProcessResult result = session.finish();
  EXPECT_EQ(result.out, "line\neof");
}

TEST(PtyRunnerTest, CollectsEverythingWrittenJustBeforeExit) {
  const ProcessResult result =
      runInTerminal("/bin/sh", shellOptions("head -c 100000 /dev/zero | tr '\\0' 'z'; exit 4"));
  EXPECT_TRUE(result.exitedWith(4)) << result.exitStatus;
  EXPECT_EQ(result.out, std::string(100000, 'z'));
}

TEST(PtyRunnerTest, WaitForGivesUpWhenTheProgramEnds) {
  PtySession session;
  ASSERT_TRUE(session.start("/bin/sh", shellOptions("printf 'bye'")));
  EXPECT_FALSE(session.waitFor("never shown", 10));
  EXPECT_EQ(session.screen(), "bye");
  EXPECT_TRUE(session.finish().exitedWith(0));
}

TEST(PtyRunnerTest, StartFunctionRunsTheBodyOnTheTerminal) {
  PtySession session;
  ASSERT_TRUE(session.startFunction(
      [] {
        printf("%d%d\n", isatty(0), isatty(1));
        return 9;
      },
      PtyOptions()));
  const ProcessResult result = session.finish();
  EXPECT_TRUE(result.exitedWith(9)) << result;
  EXPECT_EQ(result.out, "11\n");
}

TEST(PseudoTerminalTest, DrainReturnsWhatWasWrittenToTheSlave) {
  PseudoTerminal terminal;
  ASSERT_TRUE(terminal.open()) << terminal.error();
  ASSERT_EQ(write(terminal.slave(), "x\ny", 3), 3);
  terminal.closeSlave();
  EXPECT_EQ(terminal.drain(), "x\ny");
}

}  // namespace
}  // namespace e2e
