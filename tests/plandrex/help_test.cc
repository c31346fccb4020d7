#include "plandrex/help.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "plandrex/banner.h"
#include "tests/e2e/process_runner.h"
#include "tests/e2e/pty_runner.h"

namespace {

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  size_t start = 0;
  for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
    result.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  EXPECT_EQ(start, text.size()) << "text does not end with a newline";
  return result;
}

std::string helpInChild() {
  const e2e::ProcessResult result = e2e::runFunction(
      [] {
        char name[] = "./bin/plan%sdrex";
        printHelp(stdout, name);
        return 0;
      },
      e2e::RunOptions());
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.err, "");
  return result.out;
}

TEST(PrintHelpTest, BannerThenNinetyNineLines) {
  const std::vector<std::string> help = lines(helpInChild());
  ASSERT_EQ(help.size(), 100u);
  EXPECT_EQ(help[0], "plandrex 1.3");
  EXPECT_EQ(help[1], "VARNOK toolkit AS graph compare tool");
  EXPECT_EQ(help[8], "Mode can be at most one of:");
  EXPECT_EQ(help[79], "Options are:");
  EXPECT_EQ(help[99], "directed to a file.");
}

TEST(PrintHelpTest, ProgramNameIsShownAsGiven) {
  const std::vector<std::string> help = lines(helpInChild());
  ASSERT_GE(help.size(), 3u);
  EXPECT_EQ(help[2],
            "USAGE: ./bin/plan%sdrex [options] [mode] [[-o] <outFile>] {[-s] <filename>...}");
}

TEST(PrintHelpTest, QuotesAndBackquotesArePlainText) {
  const std::string help = helpInChild();
  EXPECT_NE(help.find("\n                  listed below; each item of this list is logically "
                      "\"or\"ed\n"),
            std::string::npos);
  EXPECT_NE(help.find("\n                  must hold simultaneously (logical \"and\"); in other\n"),
            std::string::npos);
  EXPECT_NE(help.find("\n           statistics about the \"history\" of that edge (e.g., the\n"),
            std::string::npos);
  EXPECT_NE(help.find("\n           file name on the command line is assumed to be the `first'\n"),
            std::string::npos);
  EXPECT_EQ(std::count(help.begin(), help.end(), '`'), 6);
}

TEST(PrintHelpTest, TwoEmptyLinesAfterTheHelpOption) {
  EXPECT_NE(helpInChild().find("\n  --help  Show this help\n\n\n<filename> is the name"),
            std::string::npos);
}

TEST(PrintHelpTest, NoEscapeSequenceWhenNotATerminal) {
  EXPECT_EQ(helpInChild().find('\x1b'), std::string::npos);
}

TEST(PrintHelpTest, NoSecondBanner) {
  const e2e::ProcessResult result = e2e::runFunction(
      [] {
        printHeader(stderr);
        char name[] = "plandrex";
        printHelp(stdout, name);
        return 0;
      },
      e2e::RunOptions());
  EXPECT_EQ(result.err, "plandrex 1.3\n");
  EXPECT_EQ(result.out.substr(0, 37), "VARNOK toolkit AS graph compare tool\n");
}

TEST(PrintHelpTest, HighlightsOnATerminal) {
  e2e::PtySession session;
  ASSERT_TRUE(session.startFunction(
      [] {
        char name[] = "plandrex";
        printHelp(stdout, name);
        return 0;
      },
      e2e::PtyOptions()))
      << session.error();
  const e2e::ProcessResult result = session.finish();
  ASSERT_TRUE(result.exitedWith(0)) << result;
  const std::vector<std::string> help = lines(result.out);
  ASSERT_EQ(help.size(), 100u);
  EXPECT_EQ(help[0], "\x1b[1mplandrex\x1b[0m 1.3");
  EXPECT_EQ(help[1], "\x1b[1mVARNOK toolkit\x1b[0m AS graph compare tool");
  EXPECT_EQ(help[8], "\x1b[4mMode\x1b[0m can be at most one of:");
  EXPECT_EQ(help[79], "\x1b[4mOptions\x1b[0m are:");
  EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\x1b'), 8);
}

}  // namespace
