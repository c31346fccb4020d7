// plandrex --help: the banner and the usage text on standard output, status 0, byte for byte,
// with highlighting only on a terminal.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/e2e/plandrex_binary.h"
#include "tests/e2e/temp_dir.h"

namespace e2e {
namespace {

// The help of a program called "plandrex" on a stream that is not a terminal.
std::string expectedPlainHelp() {
  std::ifstream in(E2E_DATA_DIR "/help.txt", std::ios::binary);
  EXPECT_TRUE(in.good()) << "cannot read " E2E_DATA_DIR "/help.txt";
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void replaceOnce(std::string& text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  text.replace(at, from.size(), to);
}

// The same help as a terminal gets it: bold banner name and toolkit name, underlined headings.
std::string expectedTerminalHelp() {
  std::string help = expectedPlainHelp();
  replaceOnce(help, "plandrex 1.3\n", "\x1b[1mplandrex\x1b[0m 1.3\n");
  replaceOnce(help, "\nVARNOK toolkit AS", "\n\x1b[1mVARNOK toolkit\x1b[0m AS");
  replaceOnce(help, "\nMode can be", "\n\x1b[4mMode\x1b[0m can be");
  replaceOnce(help, "\nOptions are:\n", "\n\x1b[4mOptions\x1b[0m are:\n");
  return help;
}

TEST(HelpOutputTest, GoldenFileHasTheBannerAndNinetyNineLines) {
  const std::string help = expectedPlainHelp();
  EXPECT_EQ(std::count(help.begin(), help.end(), '\n'), 100);
  EXPECT_EQ(help.rfind("plandrex 1.3\nVARNOK toolkit AS graph compare tool\n", 0), 0u);
  ASSERT_GE(help.size(), 21u);
  EXPECT_EQ(help.substr(help.size() - 21), "\ndirected to a file.\n");
}

TEST(HelpOutputTest, OnAPipe) {
  const ProcessResult result = runPlandrex({"--help"});
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.out, expectedPlainHelp());
  EXPECT_EQ(result.err, "");
}

TEST(HelpOutputTest, RedirectedToARegularFile) {
  TempDir dir;
  RunOptions options;
  options.args = {"--help"};
  options.output = StdoutSink::file(dir.file("help.txt"));
  const ProcessResult result = runPlandrex(options);
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(dir.read("help.txt"), expectedPlainHelp());
  EXPECT_EQ(result.err, "");
}

// Regression: help that could not be written used to end with status 0.
TEST(HelpOutputTest, FailedWriteIsReportedWithStatusThree) {
  RunOptions options;
  options.args = {"--help"};
  options.output = StdoutSink::file("/dev/full");
  const ProcessResult result = runPlandrex(options);
  EXPECT_TRUE(result.exitedWith(3)) << result;
  // The banner went into the full device, so the error block brings none of its own.
  EXPECT_EQ(result.err, "Unable to write to standard output\n(No space left on device)\n");
}

TEST(HelpOutputTest, ShowsTheProgramNameAsGiven) {
  RunOptions options;
  options.argv0 = "/opt/varnok/bin/plandrex";
  options.args = {"--help"};
  std::string expected = expectedPlainHelp();
  replaceOnce(expected, "\nUSAGE: plandrex [options]",
              "\nUSAGE: /opt/varnok/bin/plandrex [options]");
  EXPECT_EQ(runPlandrex(options).out, expected);
}

TEST(HelpOutputTest, HelpWinsOverTheInputCountAndOpensNoFile) {
  TempDir dir;
  RunOptions options;
  options.workDir = dir.path();
  options.args = {"--help", "-o", "out", "missing1", "missing2", "missing3", "--help"};
  const ProcessResult result = runPlandrex(options);
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.out, expectedPlainHelp());
  EXPECT_EQ(result.err, "");
  EXPECT_FALSE(dir.exists("out"));
}

TEST(HelpOutputTest, HelpWithOtherValidOptions) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--multi", "--help", "a"}, {"-f", "--over:pP,x", "-n", "--help"}, {"-l", "--help"}}) {
    const ProcessResult result = runPlandrex(args);
    EXPECT_TRUE(result.exitedWith(0)) << result;
    EXPECT_EQ(result.out, expectedPlainHelp());
  }
}

TEST(HelpOutputTest, OnATerminal) {
  PtyOptions options;
  options.args = {"--help"};
  options.separateStderr = true;
  const ProcessResult result = runPlandrexInTerminal(options);
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.out, expectedTerminalHelp());
  EXPECT_EQ(result.err, "");
}

TEST(HelpOutputTest, OnATerminalThatTranslatesNewlines) {
  PtyOptions options;
  options.args = {"--help"};
  options.terminal.translateNewlines = true;
  std::string expected;
  for (char c : expectedTerminalHelp()) {
    expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
  }
  EXPECT_EQ(runPlandrexInTerminal(options).out, expected);
}

TEST(HelpOutputTest, TerminalStandardInputAloneDoesNotHighlight) {
  // Highlighting follows the stream written to, standard output, which is a pipe here.
  PtySession session;
  PtyOptions options;
  options.args = {"-c", "\"$0\" --help | cat", plandrexPath()};
  ASSERT_TRUE(session.start("/bin/sh", options)) << session.error();
  const ProcessResult result = session.finish();
  EXPECT_TRUE(result.exitedWith(0)) << result;
  std::string expected = expectedPlainHelp();
  replaceOnce(expected, "\nUSAGE: plandrex [options]", "\nUSAGE: " + plandrexPath() + " [options]");
  EXPECT_EQ(result.out, expected);
}

}  // namespace
}  // namespace e2e
