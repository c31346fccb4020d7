// Command lines that plandrex rejects: the banner and the two syntax-error lines on standard
// error, nothing on standard output, exit status 1, and no file touched.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/plandrex_binary.h"
#include "tests/e2e/temp_dir.h"

namespace e2e {
namespace {

std::string syntaxError(const std::string& message, const std::string& program = "plandrex") {
  return "plandrex 1.3\nSyntax error: " + message + "\nType " + program +
         " --help for more information\n";
}

std::string describe(const std::vector<std::string>& args) {
  std::string text = "[";
  for (size_t i = 0; i < args.size(); ++i) {
    text += (i == 0 ? "" : " ") + args[i];
  }
  return text + "]";
}

struct RejectedCase {
  std::vector<std::string> args;
  const char* message;
};

// Runs every case in an empty directory and checks the whole outcome; the directory must still
// be empty afterwards (no output file is created, no input is opened).
void expectRejected(const std::vector<RejectedCase>& cases) {
  for (const RejectedCase& c : cases) {
    SCOPED_TRACE(describe(c.args));
    TempDir dir;
    RunOptions options;
    options.args = c.args;
    options.workDir = dir.path();
    const ProcessResult result = runPlandrex(options);
    EXPECT_TRUE(result.exitedWith(1)) << result;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, syntaxError(c.message));
    EXPECT_FALSE(dir.exists("out"));
  }
}

TEST(CommandLineTest, EachScanError) {
  expectRejected({
      {{"-n", "-n", "--over:a", "a", "b"}, "Graph conditions cannot be negated twice"},
      {{"--comment", "x", "--comment", "y", "a", "b"},
       "There is more than one comment for the output graph"},
      {{"-l", "-l", "a", "b"}, "Option -l is used at least twice"},
      {{"-f", "-f", "a", "b"}, "Option -f is used at least twice"},
      {{"--multi", "--multi", "a", "b"}, "Option --multi can only be used once"},
      {{"--over:a", "--comp:a", "a", "b"},
       "--over and --comp options can only be used once in a command line"},
      {{"--comp:a", "--over:a", "a", "b"},
       "--over and --comp options can only be used once in a command line"},
      {{"--over:a", "--over:d", "a", "b"},
       "--over and --comp options can only be used once in a command line"},
      {{"--comp:", "a", "b"}, "Conditions expected after --comp option"},
      {{"--over:", "a", "b"}, "Conditions expected after --over option"},
      {{"--over:a,,d", "a", "b"}, "Empty condition for overlap graph making"},
      {{"--comp:,a", "a", "b"}, "Empty condition for complementary graph making"},
      {{"--over:ab", "a", "b"}, "Invalid condition for overlap graph making: `b'"},
      {{"--comp:w", "a", "b"}, "Invalid condition for complementary graph making: `w'"},
      {{"-", "-"}, "Only a single input can be taken from standard input"},
  });
}

TEST(CommandLineTest, EachFinalCheck) {
  expectRejected({
      {{"a", "b", "--comment"}, "Comment expected after --comment option"},
      {{"a", "b", "-s"}, "Source file name expected after -s option"},
      {{"a", "b", "-o"}, "File name expected after -o option"},
      {{"-l", "--over:a", "a", "b"}, "Options -l, --over, --comp, --multi cannot be used together"},
      {{"-n", "a", "b"}, "Option -n can only be used together with either --over or --comp"},
      {{"a", "b", "c"}, "Wrong number of input graphs"},
  });
}

TEST(CommandLineTest, FinalChecksInOrder) {
  expectRejected({
      {{"-l", "--multi", "-n", "a", "--comment"}, "Comment expected after --comment option"},
      {{"-l", "--multi", "-n", "a", "-s"}, "Source file name expected after -s option"},
      {{"-l", "--multi", "-n", "a", "-o"}, "File name expected after -o option"},
      {{"-l", "--multi", "-n", "a"}, "Options -l, --over, --comp, --multi cannot be used together"},
      {{"-n", "a"}, "Option -n can only be used together with either --over or --comp"},
      {{"a"}, "Wrong number of input graphs"},
  });
}

TEST(CommandLineTest, ScanErrorIsReportedAtTheOffendingArgument) {
  expectRejected({
      {{"-l", "-l", "-", "-"}, "Option -l is used at least twice"},
      {{"-", "-", "-l", "-l"}, "Only a single input can be taken from standard input"},
      {{"-l", "-l", "a", "--comment"}, "Option -l is used at least twice"},
  });
}

TEST(CommandLineTest, EdgeCases) {
  expectRejected({
      {{}, "Wrong number of input graphs"},
      {{"--help", "-l", "-l"}, "Option -l is used at least twice"},
      {{"--help", "-n"}, "Option -n can only be used together with either --over or --comp"},
      {{"a", "b", "c"}, "Wrong number of input graphs"},
      {{"--multi", "a"}, "Wrong number of input graphs"},
      {{"-", "-"}, "Only a single input can be taken from standard input"},
      {{"-s", "-", "-"}, "Only a single input can be taken from standard input"},
      {{"a", "b", "-o"}, "File name expected after -o option"},
      {{"--over:a,,d", "a", "b"}, "Empty condition for overlap graph making"},
      {{"--over:a,", "a", "b"}, "Empty condition for overlap graph making"},
      {{"--comp:w", "a", "b"}, "Invalid condition for complementary graph making: `w'"},
      {{"--over:", "a", "b"}, "Conditions expected after --over option"},
      {{"--over", "a", "b"}, "Conditions expected after --over option"},
      {{"--compa", "a", "b"}, "Conditions expected after --comp option"},
      {{"--comparison", "a", "b"}, "Conditions expected after --comp option"},
      {{"--over:a", "--comp:a", "a", "b"},
       "--over and --comp options can only be used once in a command line"},
      {{"-l", "--over:a", "a", "b"}, "Options -l, --over, --comp, --multi cannot be used together"},
      {{"-n", "a", "b"}, "Option -n can only be used together with either --over or --comp"},
      // A trailing -o after a named one is ignored, so the input count decides.
      {{"-o", "out", "a", "-o"}, "Wrong number of input graphs"},
      // The value of -o is taken verbatim, even an option.
      {{"-o", "-l", "a"}, "Wrong number of input graphs"},
  });
}

// A graph file holds its comment on one line and at most 65536 input names: a graph that could
// not be read back is refused before any input is read (it used to be written, with status 0).
TEST(CommandLineTest, GraphThatCouldNotBeReadBackIsRefused) {
  std::vector<std::string> tooManyInputs = {"--multi"};
  tooManyInputs.resize(65537 + 1, "a");
  expectRejected({
      {{"--over:a", "--comment", "one\ntwo", "a", "b"}, "Comment must be one line"},
      {{"--comp:a", "--comment", "one\n", "a", "b"}, "Comment must be one line"},
      {{"--multi", "--comment", "\n", "a", "b", "c"}, "Comment must be one line"},
      {tooManyInputs, "Wrong number of input graphs"},
  });
}

TEST(CommandLineTest, ProgramNameIsQuotedAsGiven) {
  RunOptions options;
  options.argv0 = "./some dir/plandrex-1.3";
  options.args = {"a"};
  const ProcessResult result = runPlandrex(options);
  EXPECT_TRUE(result.exitedWith(1)) << result;
  EXPECT_EQ(result.err, syntaxError("Wrong number of input graphs", "./some dir/plandrex-1.3"));
}

TEST(CommandLineTest, StandardInputIsNotReadForARejectedCommandLine) {
  RunOptions options;
  options.args = {"-", "b", "c"};
  options.input = StdinSource::bytes("ZNG\n");
  const ProcessResult result = runPlandrex(options);
  EXPECT_TRUE(result.exitedWith(1)) << result;
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, syntaxError("Wrong number of input graphs"));
}

TEST(CommandLineTest, BannerIsBoldWhenStandardErrorIsATerminal) {
  PtyOptions options;
  options.args = {"a", "b", "c"};
  const ProcessResult result = runPlandrexInTerminal(options);
  EXPECT_TRUE(result.exitedWith(1)) << result;
  EXPECT_EQ(result.out,
            "\x1b[1mplandrex\x1b[0m 1.3\n"
            "Syntax error: Wrong number of input graphs\n"
            "Type plandrex --help for more information\n");
}

TEST(CommandLineTest, BannerIsPlainOnAPipeEvenInAnInteractiveRun) {
  PtyOptions options;
  options.args = {"-l", "-l"};
  options.separateStderr = true;
  const ProcessResult result = runPlandrexInTerminal(options);
  EXPECT_TRUE(result.exitedWith(1)) << result;
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, syntaxError("Option -l is used at least twice"));
}

}  // namespace
}  // namespace e2e
