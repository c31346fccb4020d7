// Runs on a real pseudo-terminal: the banner, the status messages and the warnings about
// differential inputs appear only there, and the banner is shown once per run.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/driver_fixtures.h"

namespace e2e {
namespace {

const std::string kReadingPair =
    std::string(kTerminalBanner) +
    "Reading graph file `a.zng'...\nReading graph file `b.zng'...\nComputing differences...\n";

using DriverInteractiveTest = DriverTest;

TEST_F(DriverInteractiveTest, TwoInputModesAnnounceEachStep) {
  struct Case {
    std::vector<std::string> args;
    std::string screen;
  };
  const Case cases[] = {
      {{"a.zng", "b.zng"}, kReadingPair + kReport},
      {{"-l", "a.zng", "b.zng"}, kReadingPair + kNodeList},
      // Status messages stay on the terminal when the graph goes to a file.
      {{"--over:a", "-o", "out", "a.zng", "b.zng"}, kReadingPair + "Saving graph to file...\n"},
      // A graph typed at the terminal is not announced.
      {{"-", "b.zng"},
       std::string(kTerminalBanner) + "Reading graph file `b.zng'...\nComputing differences...\n" +
           kReport},
      // A name with control bytes is shown escaped, as in every message.
      {{"a\x1b[2J.zng", "b.zng"},
       std::string(kTerminalBanner) +
           "Reading graph file `a\\x1b[2J.zng'...\nReading graph file `b.zng'...\n"
           "Computing differences...\n" +
           kReport},
  };
  ASSERT_TRUE(dir.write("a\x1b[2J.zng", dir.read("a.zng")));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1]);
    const ProcessResult result = runInteractive(c.args, c.args[0] == "-" ? kFirstGraph : "");
    EXPECT_TRUE(result.exitedWith(0)) << result;
    EXPECT_EQ(result.out, c.screen);
    EXPECT_EQ(result.err, "");
  }
  EXPECT_EQ(dir.read("out").compare(0, 4, "ZND\n"), 0);
}

TEST_F(DriverInteractiveTest, DifferentialInputsAreUsedWithAWarning) {
  struct Case {
    const char* first;
    const char* second;
    std::string messages;
  };
  const Case cases[] = {
      {"d.znd", "b.zng",
       "Reading graph file `d.znd'...\nWarning: first input is a differential graph\n"
       "Reading graph file `b.zng'...\n"},
      {"a.zng", "d.znd",
       "Reading graph file `a.zng'...\nReading graph file `d.znd'...\n"
       "Warning: second input is a differential graph\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.first);
    const ProcessResult result = runInteractive({c.first, c.second});
    EXPECT_TRUE(result.exitedWith(0)) << result;
    // Without a terminal the same run writes the report alone.
    const ProcessResult quiet = run({c.first, c.second});
    EXPECT_TRUE(quiet.exitedWith(0)) << quiet;
    EXPECT_EQ(result.out, kTerminalBanner + c.messages + "Computing differences...\n" + quiet.out);
  }
}

TEST_F(DriverInteractiveTest, MultiModeAnnouncesEachInputAndTheLastSteps) {
  const ProcessResult result = runInteractive({"--multi", "-o", "out", "a.zng", "d.znd"});
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.out, std::string(kTerminalBanner) +
                            "Reading graph file `a.zng'...\nUpdating statistics...\n"
                            "Reading graph file `d.znd'...\n"
                            "Warning: Current graph is a differential graph\n"
                            "Updating statistics...\n"
                            "Postprocessing multi-differential graph...\n"
                            "Saving graph to file...\n");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(run({"--multi", "a.zng", "d.znd"}).out, dir.read("out"));
}

TEST_F(DriverInteractiveTest, ErrorAfterTheBannerDoesNotRepeatIt) {
  const ProcessResult result = runInteractive({"a.zng", "missing.zng"});
  EXPECT_TRUE(result.exitedWith(2)) << result;
  EXPECT_EQ(result.out, std::string(kTerminalBanner) + "Reading graph file `a.zng'...\n");
  EXPECT_EQ(result.err, "Unable to open source file `missing.zng'\n(No such file or directory)\n");
}

TEST_F(DriverInteractiveTest, OverwriteQuestionIsAnsweredAtTheTerminal) {
  struct Case {
    const char* typed;
    int status;
    std::string screen;
    std::string file;
  };
  const Case cases[] = {
      {"y\n", 0, kReadingPair, kReport},
      {"n\n", 2, kTerminalBanner, "old contents\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    ASSERT_TRUE(dir.write("out.zng", "old contents\n"));
    const ProcessResult result = runInteractive({"-o", "out.zng", "a.zng", "b.zng"}, c.typed);
    EXPECT_TRUE(result.exitedWith(c.status)) << result;
    EXPECT_EQ(result.out, c.screen);
    EXPECT_EQ(result.err, kOverwriteQuestion);
    EXPECT_EQ(dir.read("out.zng"), c.file);
  }
}

TEST_F(DriverInteractiveTest, EndOfInputAtTheQuestionIsANo) {
  ASSERT_TRUE(dir.write("out.zng", "old contents\n"));
  PtyOptions options;
  options.args = {"-o", "out.zng", "a.zng", "b.zng"};
  options.argv0 = "plandrex";
  options.workDir = dir.path();
  options.separateStderr = true;
  PtySession session;
  ASSERT_TRUE(session.start(plandrexPath(), options)) << session.error();
  ASSERT_TRUE(session.waitFor(kTerminalBanner));
  ASSERT_TRUE(session.typeEndOfInput());
  const ProcessResult result = session.finish();
  EXPECT_TRUE(result.exitedWith(2)) << result;
  EXPECT_EQ(result.err, kOverwriteQuestion);
  EXPECT_EQ(dir.read("out.zng"), "old contents\n");
}

}  // namespace
}  // namespace e2e
