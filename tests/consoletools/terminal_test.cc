#include "consoletools/terminal.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include "tests/e2e/process_runner.h"
#include "tests/e2e/pty_runner.h"
#include "tests/e2e/temp_dir.h"

namespace {

TEST(IsTermTest, NullDeviceCountsAsATerminal) {
  FILE* nullDevice = fopen("/dev/null", "w");
  ASSERT_NE(nullDevice, nullptr);
  EXPECT_TRUE(isTerm(nullDevice));
  fclose(nullDevice);
}

TEST(IsTermTest, RegularFileIsNotATerminal) {
  e2e::TempDir dir;
  ASSERT_TRUE(dir.write("plain.txt", "text"));
  FILE* file = fopen(dir.file("plain.txt").c_str(), "r");
  ASSERT_NE(file, nullptr);
  EXPECT_FALSE(isTerm(file));
  fclose(file);
}

TEST(IsTermTest, PipeIsNotATerminal) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  FILE* readEnd = fdopen(fds[0], "r");
  FILE* writeEnd = fdopen(fds[1], "w");
  ASSERT_NE(readEnd, nullptr);
  ASSERT_NE(writeEnd, nullptr);
  EXPECT_FALSE(isTerm(readEnd));
  EXPECT_FALSE(isTerm(writeEnd));
  fclose(readEnd);
  fclose(writeEnd);
}

TEST(IsTermTest, PseudoTerminalIsATerminal) {
  e2e::PseudoTerminal terminal;
  ASSERT_TRUE(terminal.open()) << terminal.error();
  FILE* slave = fdopen(dup(terminal.slave()), "w");
  ASSERT_NE(slave, nullptr);
  EXPECT_TRUE(isTerm(slave));
  fclose(slave);
}

TEST(IsTermTest, DescriptorThatCannotBeQueriedIsNotATerminal) {
  FILE* stream = fopen("/dev/null", "r");
  ASSERT_NE(stream, nullptr);
  // Close the descriptor under the stream: fstat then fails with EBADF.
  const int fd = fileno(stream);
  ASSERT_EQ(close(fd), 0);
  EXPECT_FALSE(isTerm(stream));
  // Give the stream a descriptor again so that fclose has something to close.
  ASSERT_EQ(open("/dev/null", O_RDONLY), fd);
  fclose(stream);
}

TEST(IsTermTest, NullStreamIsNotATerminal) { EXPECT_FALSE(isTerm(nullptr)); }

// The standard streams of a child process, as the entry point sees them.
int reportStandardStreams() {
  const bool in = isTerm(stdin);
  const bool out = isTerm(stdout);
  fprintf(stderr, "%d%d", in, out);
  return 0;
}

TEST(IsTermTest, StandardStreamsOnTheNullDevice) {
  e2e::RunOptions options;
  options.input = e2e::StdinSource::nullDevice();
  options.output = e2e::StdoutSink::nullDevice();
  EXPECT_EQ(e2e::runFunction(reportStandardStreams, options).err, "11");
}

TEST(IsTermTest, StandardStreamsOnAPipeAndARegularFile) {
  e2e::TempDir dir;
  ASSERT_TRUE(dir.write("in.txt", ""));
  e2e::RunOptions options;
  options.input = e2e::StdinSource::bytes("input");
  options.output = e2e::StdoutSink::file(dir.file("out.txt"));
  EXPECT_EQ(e2e::runFunction(reportStandardStreams, options).err, "00");
  options.input = e2e::StdinSource::file(dir.file("in.txt"));
  options.output = e2e::StdoutSink::capture();
  EXPECT_EQ(e2e::runFunction(reportStandardStreams, options).err, "00");
  options.input = e2e::StdinSource::nullDevice();
  EXPECT_EQ(e2e::runFunction(reportStandardStreams, options).err, "10");
}

TEST(IsTermTest, StandardStreamsOnAPseudoTerminal) {
  e2e::PtySession session;
  e2e::PtyOptions options;
  options.separateStderr = true;
  ASSERT_TRUE(session.startFunction(reportStandardStreams, options)) << session.error();
  EXPECT_EQ(session.finish().err, "11");
}

}  // namespace
