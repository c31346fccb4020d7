#include "tests/e2e/process_runner.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "tests/e2e/temp_dir.h"

namespace e2e {
namespace {

ProcessResult shell(const std::string& script, RunOptions options = RunOptions()) {
  options.args = {"-c", script};
  return runProgram("/bin/sh", options);
}

TEST(ProcessRunnerTest, CapturesBothStreamsAndExitStatus) {
  const ProcessResult result = shell("printf 'out\\n'; printf 'err' >&2; exit 3");
  EXPECT_TRUE(result.exitedWith(3)) << result;
  EXPECT_EQ(result.out, "out\n");
  EXPECT_EQ(result.err, "err");
}

TEST(ProcessRunnerTest, PassesArgumentsVerbatimAndArgv0) {
  RunOptions options;
  options.argv0 = "custom-name";
  options.args = {"-c", "printf '[%s]' \"$0\" \"$@\"", "", "-o", "two words", "-"};
  const ProcessResult result = runProgram("/bin/sh", options);
  EXPECT_TRUE(result.exitedWith(0)) << result;
  // With -c, the first argument after the script becomes $0.
  EXPECT_EQ(result.out, "[][-o][two words][-]");
}

TEST(ProcessRunnerTest, FeedsStdinBytesExactly) {
  RunOptions options;
  options.input = StdinSource::bytes(std::string("a\0b\r\nlast", 9));
  const ProcessResult result = shell("cat", options);
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.out, std::string("a\0b\r\nlast", 9));
}

TEST(ProcessRunnerTest, NullDeviceStdinGivesEndOfInput) {
  const ProcessResult result = shell("cat; echo done");
  EXPECT_EQ(result.out, "done\n");
}

TEST(ProcessRunnerTest, StdinFromFileAndStdoutToFile) {
  TempDir dir;
  ASSERT_TRUE(dir.write("in.txt", "from a file\n"));
  RunOptions options;
  options.input = StdinSource::file(dir.file("in.txt"));
  options.output = StdoutSink::file(dir.file("out.txt"));
  const ProcessResult result = shell("test -f /dev/stdin && test -f /dev/stdout && cat", options);
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(dir.read("out.txt"), "from a file\n");
}

TEST(ProcessRunnerTest, StdoutToNullDeviceIsACharacterDevice) {
  RunOptions options;
  options.output = StdoutSink::nullDevice();
  const ProcessResult result = shell("test -c /dev/stdout && echo yes >&2", options);
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.err, "yes\n");
}

TEST(ProcessRunnerTest, RunsInTheGivenWorkingDirectory) {
  TempDir dir;
  RunOptions options;
  options.workDir = dir.path();
  const ProcessResult result = shell("pwd -P", options);
  char resolved[4096];
  ASSERT_NE(realpath(dir.path().c_str(), resolved), nullptr);
  EXPECT_EQ(result.out, std::string(resolved) + "\n");
}

TEST(ProcessRunnerTest, LargeOutputOnBothStreamsWhileFeedingLargeInputDoesNotDeadlock) {
  const std::string input(1 << 20, 'x');
  RunOptions options;
  options.input = StdinSource::bytes(input);
  options.timeoutSeconds = 30;
  // Writes 1 MiB to stderr before reading any input, then copies the input to stdout.
  const ProcessResult result =
      shell("head -c 1048576 /dev/zero >&2; cat; head -c 1048576 /dev/zero", options);
  EXPECT_TRUE(result.exitedWith(0)) << result.exitStatus;
  EXPECT_EQ(result.err.size(), 1u << 20);
  EXPECT_EQ(result.out.size(), 2u << 20);
  EXPECT_EQ(result.out.substr(0, input.size()), input);
}

TEST(ProcessRunnerTest, ChildThatIgnoresItsInputDoesNotKillTheCaller) {
  RunOptions options;
  options.input = StdinSource::bytes(std::string(1 << 20, 'x'));
  const ProcessResult result = shell("exec 0<&-; echo closed", options);
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.out, "closed\n");
}

TEST(ProcessRunnerTest, ChildGetsTheDefaultSigpipeAction) {
  RunOptions options;
  options.args = {"-c", "kill -PIPE $$; echo survived"};
  const ProcessResult result = runProgram("/bin/sh", options);
  EXPECT_EQ(result.termSignal, SIGPIPE) << result;
}

TEST(ProcessRunnerTest, ReportsTheSignalThatEndedTheChild) {
  const ProcessResult result = shell("kill -TERM $$");
  EXPECT_EQ(result.termSignal, SIGTERM) << result;
  EXPECT_FALSE(result.exitedWith(0));
}

TEST(ProcessRunnerTest, KillsAChildThatRunsTooLong) {
  RunOptions options;
  options.timeoutSeconds = 0.3;
  const ProcessResult result = shell("sleep 20", options);
  EXPECT_TRUE(result.timedOut);
  EXPECT_EQ(result.termSignal, SIGKILL);
}

TEST(ProcessRunnerTest, MissingProgramExitsWith127AndSaysWhy) {
  const ProcessResult result = runProgram("/nonexistent/program", RunOptions());
  EXPECT_TRUE(result.exitedWith(127)) << result;
  EXPECT_EQ(result.err, "/nonexistent/program: No such file or directory\n");
}

TEST(ProcessRunnerTest, RunFunctionCapturesStreamsAndResult) {
  RunOptions options;
  options.input = StdinSource::bytes("line\n");
  const ProcessResult result = runFunction(
      [] {
        char buffer[16] = {};
        if (fgets(buffer, sizeof buffer, stdin) == nullptr) {
          return 1;
        }
        printf("read %s", buffer);
        fputs("to stderr", stderr);
        return getchar() == EOF ? 5 : 6;
      },
      options);
  EXPECT_TRUE(result.exitedWith(5)) << result;
  EXPECT_EQ(result.out, "read line\n");
  EXPECT_EQ(result.err, "to stderr");
}

TEST(ProcessRunnerTest, RunFunctionDoesNotRepeatTheCallersBufferedOutput) {
  printf("buffered in the test process");  // no newline: still in the stdio buffer
  const ProcessResult result = runFunction([] { return 0; }, RunOptions());
  printf("\n");
  EXPECT_EQ(result.out, "");
}

}  // namespace
}  // namespace e2e
