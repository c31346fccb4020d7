// Every way a run can fail: the message blocks on standard error, the exit status, and what
// happens to the files involved.

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/e2e/driver_fixtures.h"

namespace e2e {
namespace {

const char* const kNotAGraph = "XYZ\n1\nx\n\n0\n0\n";

class DriverFailureTest : public DriverTest {
 protected:
  void SetUp() override {
    DriverTest::SetUp();
    ASSERT_TRUE(dir.write("bad.zng", kNotAGraph));
  }
};

TEST_F(DriverFailureTest, EachFailureHasItsMessageAndStatus) {
  struct Case {
    const char* what;
    std::vector<std::string> args;
    const char* stdinBytes;
    std::string err;
    int status;
  };
  const std::string notAGraph = "Invalid file type string: `XYZ'\n";
  const std::string missing = "(No such file or directory)\n";
  const Case cases[] = {
      {"command line rejected",
       {"a.zng"},
       "",
       "Syntax error: Wrong number of input graphs\nType plandrex --help for more information\n",
       1},
      {"output cannot be opened",
       {"-o", "nodir/out", "a.zng", "b.zng"},
       "",
       "Unable to open file `nodir/out' for writing\n" + missing,
       3},
      {"first input cannot be opened",
       {"missing.zng", "b.zng"},
       "",
       "Unable to open source file `missing.zng'\n" + missing,
       2},
      {"second input cannot be opened",
       {"a.zng", "missing.zng"},
       "",
       "Unable to open source file `missing.zng'\n" + missing,
       2},
      {"an unknown option is an input name",
       {"-x", "b.zng"},
       "",
       "Unable to open source file `-x'\n" + missing,
       2},
      {"first input not a graph",
       {"bad.zng", "b.zng"},
       "",
       "File `bad.zng' does not appear to be a valid graph file:\n" + notAGraph,
       3},
      {"second input not a graph",
       {"a.zng", "bad.zng"},
       "",
       "File `bad.zng' does not appear to be a valid graph file:\n" + notAGraph,
       3},
      {"inputs fail in order",
       {"bad.zng", "missing.zng"},
       "",
       "File `bad.zng' does not appear to be a valid graph file:\n" + notAGraph,
       3},
      {"left input from stdin not a graph",
       {"-", "b.zng"},
       kNotAGraph,
       "Left input does not appear to be a valid graph:\n" + notAGraph,
       3},
      {"right input from stdin not a graph",
       {"a.zng", "-"},
       "",
       "Right input does not appear to be a valid graph:\nCould not retrieve file type string\n",
       3},
      {"multi input cannot be opened",
       {"--multi", "a.zng", "missing.zng", "bad.zng"},
       "",
       "Unable to open graph file `missing.zng'\n" + missing,
       2},
      {"multi input not a graph",
       {"--multi", "a.zng", "bad.zng"},
       "",
       "File `bad.zng' does not appear to be a valid graph file:\n" + notAGraph,
       3},
      {"multi input from stdin not a graph",
       {"--multi", "a.zng", "-"},
       "ZNG\n0\n",
       "Graph from stdin does not appear to be a valid graph:\n"
       "Invalid number of source files: `0'\n",
       3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ProcessResult result = run(c.args, StdinSource::bytes(c.stdinBytes));
    EXPECT_TRUE(result.exitedWith(c.status)) << result;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, kBanner + c.err);
  }
}

// A full device: the report is small enough to fail only when the stream is closed, a large
// graph fails while it is being written. Either way the run must not end with status 0.
TEST_F(DriverFailureTest, FailedOutputWriteIsReportedWithStatusThree) {
  std::string big = "ZNG\n1\nbig\n\n2000\n1999\n";
  for (int node = 1; node <= 2000; ++node) {
    big += std::to_string(node) + "\n";
  }
  for (int node = 1; node < 2000; ++node) {
    big += std::to_string(node) + " " + std::to_string(node + 1) + " 1 1 1 1 1 1\n";
  }
  ASSERT_TRUE(dir.write("big.zng", big));

  const std::vector<std::vector<std::string>> modes = {
      {"a.zng", "b.zng"},
      {"-l", "a.zng", "b.zng"},
      {"--over:a", "a.zng", "b.zng"},
      {"--comp:a,A", "a.zng", "b.zng"},
      {"--comp:a", "big.zng", "a.zng"},
      {"--multi", "a.zng", "b.zng"},
      {"--multi", "big.zng", "b.zng"},
  };
  for (const std::vector<std::string>& mode : modes) {
    SCOPED_TRACE(mode[0] + " " + mode[1]);
    std::vector<std::string> args = {"-f", "-o", "/dev/full"};
    args.insert(args.end(), mode.begin(), mode.end());
    ProcessResult result = run(args);
    EXPECT_TRUE(result.exitedWith(3)) << result;
    EXPECT_EQ(result.err, std::string(kBanner) +
                              "Unable to write to file `/dev/full'\n(No space left on device)\n");

    // Standard output itself on the full device; standard input is a pipe, so not interactive.
    RunOptions options;
    options.args = mode;
    options.workDir = dir.path();
    options.input = StdinSource::bytes("");
    options.output = StdoutSink::file("/dev/full");
    result = runPlandrex(options);
    EXPECT_TRUE(result.exitedWith(3)) << result;
    EXPECT_EQ(result.err, std::string(kBanner) +
                              "Unable to write to standard output\n(No space left on device)\n");
  }
}

// Regression: -o naming an input used to truncate it before it was read.
TEST_F(DriverFailureTest, OutputThatIsAlsoAnInputIsRefusedAndLeftIntact) {
  ASSERT_EQ(link(dir.file("a.zng").c_str(), dir.file("hardlink.zng").c_str()), 0);
  ASSERT_EQ(symlink("b.zng", dir.file("symlink.zng").c_str()), 0);
  struct Case {
    std::vector<std::string> args;
    std::string output;
  };
  const Case cases[] = {
      {{"-o", "a.zng", "a.zng", "b.zng"}, "a.zng"},
      {{"-f", "-o", "b.zng", "a.zng", "b.zng"}, "b.zng"},
      {{"-o", "./a.zng", "-", "a.zng"}, "./a.zng"},
      {{"-f", "-o", "hardlink.zng", "a.zng", "b.zng"}, "hardlink.zng"},
      {{"-o", "symlink.zng", "a.zng", "b.zng"}, "symlink.zng"},
      {{"-f", "--multi", "-o", "b.zng", "a.zng", "d.znd", "b.zng"}, "b.zng"},
      {{"--over:a", "-o", "a.zng", "a.zng", "b.zng"}, "a.zng"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1] + " " + c.args[2]);
    // An answer is ready on standard input: the question must not be asked at all.
    const ProcessResult result = run(c.args, StdinSource::bytes("y\n"));
    EXPECT_TRUE(result.exitedWith(3)) << result;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, std::string(kBanner) + "Unable to open file `" + c.output +
                              "' for writing\n(it is also an input file)\n");
    EXPECT_EQ(dir.read("a.zng"), kFirstGraph);
    EXPECT_EQ(dir.read("b.zng"), kSecondGraph);
  }
}

// The question comes before any input is read and takes its answer line from standard input,
// also when a graph is to follow on the same stream.
TEST_F(DriverFailureTest, OverwriteQuestionDecidesWhetherTheRunGoesOn) {
  struct Case {
    const char* what;
    std::vector<std::string> args;
    std::string stdinBytes;
    int status;
    bool overwritten;
  };
  const std::string first = kFirstGraph;
  const Case cases[] = {
      {"yes", {"-o", "out.zng", "a.zng", "b.zng"}, "y\n", 0, true},
      {"no", {"-o", "out.zng", "a.zng", "b.zng"}, "n\n", 2, false},
      {"end of input", {"-o", "out.zng", "a.zng", "b.zng"}, "", 2, false},
      {"yes, graph follows", {"-o", "out.zng", "-", "b.zng"}, "yes please\n" + first, 0, true},
      {"no, graph follows", {"-o", "out.zng", "-", "b.zng"}, "n\n" + first, 2, false},
      {"no, input missing", {"-o", "out.zng", "missing.zng", "b.zng"}, "N\n", 2, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(dir.write("out.zng", "old contents\n"));
    const ProcessResult result = run(c.args, StdinSource::bytes(c.stdinBytes));
    EXPECT_TRUE(result.exitedWith(c.status)) << result;
    EXPECT_EQ(result.out, "");
    // No banner: the question is not an error.
    EXPECT_EQ(result.err, kOverwriteQuestion);
    EXPECT_EQ(dir.read("out.zng"), c.overwritten ? kReport : "old contents\n");
  }
}

TEST_F(DriverFailureTest, NoQuestionWithForceOrWithoutAnExistingFile) {
  ASSERT_TRUE(dir.write("out.zng", "old contents\n"));
  ProcessResult result =
      run({"-f", "-o", "out.zng", "-", "b.zng"}, StdinSource::bytes(kFirstGraph));
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(dir.read("out.zng"), kReport);

  result = run({"-o", "new.zng", "a.zng", "b.zng"});
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(dir.read("new.zng"), kReport);
}

}  // namespace
}  // namespace e2e
