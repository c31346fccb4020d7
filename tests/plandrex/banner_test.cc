#include "plandrex/banner.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/e2e/process_runner.h"
#include "tests/e2e/pty_runner.h"

namespace {

// The printed-once flag is process-wide, so every case runs in a fresh child process.
e2e::ProcessResult inChild(int (*body)()) {
  const e2e::ProcessResult result = e2e::runFunction(body, e2e::RunOptions());
  EXPECT_TRUE(result.exitedWith(0)) << result;
  return result;
}

TEST(PrintHeaderTest, PlainBannerWhenNotATerminal) {
  const e2e::ProcessResult result = inChild([] {
    printHeader(stdout);
    return 0;
  });
  EXPECT_EQ(result.out, "plandrex 1.3\n");
  EXPECT_EQ(result.err, "");
}

TEST(PrintHeaderTest, SecondCallOnTheSameStreamWritesNothing) {
  const e2e::ProcessResult result = inChild([] {
    printHeader(stderr);
    printHeader(stderr);
    return 0;
  });
  EXPECT_EQ(result.err, "plandrex 1.3\n");
}

TEST(PrintHeaderTest, OneFlagForAllStreams) {
  const e2e::ProcessResult outFirst = inChild([] {
    printHeader(stdout);
    printHeader(stderr);
    return 0;
  });
  EXPECT_EQ(outFirst.out, "plandrex 1.3\n");
  EXPECT_EQ(outFirst.err, "");

  const e2e::ProcessResult errFirst = inChild([] {
    printHeader(stderr);
    printHeader(stdout);
    return 0;
  });
  EXPECT_EQ(errFirst.out, "");
  EXPECT_EQ(errFirst.err, "plandrex 1.3\n");
}

TEST(PrintHeaderTest, BannerOnTheNullDeviceStillCounts) {
  // The null device is a terminal to isTerm: the banner goes there, bold, and is spent.
  const e2e::ProcessResult result = inChild([] {
    FILE* nullDevice = fopen("/dev/null", "w");
    printHeader(nullDevice);
    fclose(nullDevice);
    printHeader(stdout);
    return 0;
  });
  EXPECT_EQ(result.out, "");
}

TEST(PrintHeaderTest, NameInBoldOnATerminal) {
  e2e::PtySession session;
  ASSERT_TRUE(session.startFunction(
      [] {
        printHeader(stdout);
        printHeader(stdout);
        return 0;
      },
      e2e::PtyOptions()))
      << session.error();
  const e2e::ProcessResult result = session.finish();
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.out, "\x1b[1mplandrex\x1b[0m 1.3\n");
}

}  // namespace
