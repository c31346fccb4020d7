// Both programs as a hostile user runs them: names with control bytes, names at the length
// limit, a sticky directory, an output that is an input, too little memory. Each case checks
// standard error, the exit status and what is left on disk.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/process_runner.h"
#include "tests/e2e/temp_dir.h"

#ifndef IMPORTER_BINARY
#error "IMPORTER_BINARY is set in tests/e2e/CMakeLists.txt"
#endif

namespace e2e {
namespace {

enum class Program { kPlandrex, kImporter };

const char* pathOf(Program program) {
  return program == Program::kPlandrex ? PLANDREX_BINARY : IMPORTER_BINARY;
}

const char* nameOf(Program program) {
  return program == Program::kPlandrex ? "plandrex" : "plandrex-import";
}

constexpr Program kBothPrograms[] = {Program::kPlandrex, Program::kImporter};

const char* const kBanner = "plandrex 1.3\n";
const char* const kOldContents = "old contents\n";
const char* const kGraphA = "ZNG\n1\na\n\n2\n1\n1\n2\n1 2 1 1 0 0 0 0\n";
const char* const kGraphB = "ZNG\n1\nb\n\n2\n1\n1\n2\n1 2 1 0 0 0 0 0\n";
const char* const kLinks = "1 2\n2 3\n";
// What plandrex-import makes of kLinks read from in.txt.
const char* const kLinksGraph =
    "ZNG\n1\nin.txt\n\n3\n2\n1\n2\n3\n1 2 0 0 0 0 0 0\n2 3 0 0 0 0 0 0\n";

std::string describe(const std::vector<std::string>& args) {
  std::string text;
  for (const std::string& arg : args) {
    text += (text.empty() ? "" : " ") + arg;
  }
  return text;
}

class OutputFaultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir.path().empty());
    ASSERT_TRUE(dir.write("a.zng", kGraphA));
    ASSERT_TRUE(dir.write("b.zng", kGraphB));
    ASSERT_TRUE(dir.write("in.txt", kLinks));
  }

  // The arguments that make program write its usual output for the files of SetUp.
  static std::vector<std::string> usualInputs(Program program) {
    if (program == Program::kPlandrex) {
      return {"--over:a", "a.zng", "b.zng"};
    }
    return {"--quiet", "in.txt"};
  }

  // What program writes for usualInputs.
  std::string usualOutput(Program program) const {
    if (program == Program::kImporter) {
      return kLinksGraph;
    }
    const ProcessResult result = run(program, usualInputs(program));
    EXPECT_TRUE(result.exitedWith(0)) << result;
    return result.out;
  }

  ProcessResult run(Program program, const std::vector<std::string>& args,
                    StdinSource input = StdinSource::nullDevice()) const {
    RunOptions options;
    options.args = args;
    options.argv0 = nameOf(program);
    options.workDir = dir.path();
    options.input = std::move(input);
    return runProgram(pathOf(program), options);
  }

  // Runs program through sh -c "PREFIX PROGRAM ARGS...", for ulimit and setpriv.
  ProcessResult runAfter(const std::string& prefix, Program program,
                         const std::vector<std::string>& args) const {
    RunOptions options;
    options.args = {"-c", prefix + " \"$0\" \"$@\"", pathOf(program)};
    options.args.insert(options.args.end(), args.begin(), args.end());
    options.workDir = dir.path();
    return runProgram("/bin/sh", options);
  }

  TempDir dir;
};

// Every message that quotes a file name or an argument shows control bytes as \xHH, as the
// reasons quote input text: none of these reaches the terminal raw.
TEST_F(OutputFaultsTest, NamesAndArgumentsInMessagesAreEscaped) {
  ASSERT_TRUE(dir.write("in\x1b[2J.zng", kGraphA));
  ASSERT_TRUE(dir.write("old\x1b]0;t\a.zng", kOldContents));
  ASSERT_TRUE(dir.write("bad\x7f.zng", "XYZ\n"));
  ASSERT_TRUE(dir.write("in\x1b.txt", kLinks));
  std::filesystem::create_symlink("/dev/full", dir.file("full\x01"));
  struct Case {
    Program program;
    std::vector<std::string> args;
    std::string input;  // standard input
    int status;
    std::string err;
  };
  const std::string plandrexCannotOpen = std::string(kBanner) + "Unable to open ";
  const Case cases[] = {
      {Program::kPlandrex,
       {"no\x1b[2J.zng", "b.zng"},
       "",
       2,
       plandrexCannotOpen + "source file `no\\x1b[2J.zng'\n(No such file or directory)\n"},
      {Program::kPlandrex,
       {"--multi", "a.zng", "no\n.zng"},
       "",
       2,
       plandrexCannotOpen + "graph file `no\\x0a.zng'\n(No such file or directory)\n"},
      {Program::kPlandrex,
       {"a.zng", "bad\x7f.zng"},
       "",
       3,
       std::string(kBanner) + "File `bad\\x7f.zng' does not appear to be a valid graph file:\n"
                              "Invalid file type string: `XYZ'\n"},
      {Program::kPlandrex,
       {"-o", "no\x1b/out", "a.zng", "b.zng"},
       "",
       3,
       plandrexCannotOpen + "file `no\\x1b/out' for writing\n(No such file or directory)\n"},
      {Program::kPlandrex,
       {"-o", "in\x1b[2J.zng", "in\x1b[2J.zng", "b.zng"},
       "",
       3,
       plandrexCannotOpen + "file `in\\x1b[2J.zng' for writing\n(it is also an input file)\n"},
      {Program::kPlandrex,
       {"-f", "-o", "full\x01", "a.zng", "b.zng"},
       "",
       3,
       std::string(kBanner) + "Unable to write to file `full\\x01'\n(No space left on device)\n"},
      {Program::kPlandrex,
       {"-o", "old\x1b]0;t\a.zng", "a.zng", "b.zng"},
       "n\n",
       2,
       "Warning: file `old\\x1b]0;t\\x07.zng'\nalready exists and is about to be overwritten.\n"
       "Do you want to proceed (y/n)? "},
      {Program::kPlandrex,
       {"--over:a\x01", "a.zng", "b.zng"},
       "",
       1,
       std::string(kBanner) + "Syntax error: Invalid condition for overlap graph making: `\\x01'\n"
                              "Type plandrex --help for more information\n"},
      {Program::kImporter,
       {"-o", "no\x1b/out", "in.txt"},
       "",
       3,
       "Unable to open file `no\\x1b/out' for writing\n(No such file or directory)\n"},
      {Program::kImporter,
       {"-o", "in\x1b.txt", "in\x1b.txt"},
       "",
       3,
       "Unable to open file `in\\x1b.txt' for writing\n(it is also an input file)\n"},
      {Program::kImporter,
       {"-o", "full\x01", "in.txt"},
       "",
       3,
       "Unable to write to file `full\\x01'\n(No space left on device)\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(describe(c.args));
    const ProcessResult result = run(c.program, c.args, StdinSource::bytes(c.input));
    EXPECT_TRUE(result.exitedWith(c.status)) << result;
    EXPECT_EQ(result.err, c.err);
  }
  EXPECT_EQ(dir.read("old\x1b]0;t\a.zng"), kOldContents);
  EXPECT_EQ(dir.read("in\x1b[2J.zng"), kGraphA);
  EXPECT_EQ(dir.read("in\x1b.txt"), kLinks);

  // The program name, as a shell passes it on.
  RunOptions options;
  options.args = {"a.zng"};
  options.argv0 = "./plan\x1b[1mdrex";
  options.workDir = dir.path();
  const ProcessResult result = runProgram(PLANDREX_BINARY, options);
  EXPECT_TRUE(result.exitedWith(1)) << result;
  EXPECT_EQ(result.err, std::string(kBanner) +
                            "Syntax error: Wrong number of input graphs\n"
                            "Type ./plan\\x1b[1mdrex --help for more information\n");
}

// The line feed and input count limits apply only where a graph is written, and only as far as
// the graph file needs them.
TEST_F(OutputFaultsTest, CommentsAndInputCountsThatAGraphFileHolds) {
  // The report and the node list carry no comment.
  for (const char* mode : {"-l", "-f"}) {
    SCOPED_TRACE(mode);
    const ProcessResult plain = run(Program::kPlandrex, {mode, "a.zng", "b.zng"});
    const ProcessResult commented =
        run(Program::kPlandrex, {mode, "--comment", "one\ntwo", "a.zng", "b.zng"});
    EXPECT_TRUE(commented.exitedWith(0)) << commented;
    EXPECT_EQ(commented.out, plain.out);
  }
  // A carriage return ends the comment's line for the reader: the graph reads back.
  ProcessResult result = run(
      Program::kPlandrex, {"--over:a", "--comment", "one\rtwo", "-o", "out.zng", "a.zng", "b.zng"});
  EXPECT_TRUE(result.exitedWith(0)) << result;
  result = run(Program::kPlandrex, {"-l", "out.zng", "out.zng"});
  EXPECT_TRUE(result.exitedWith(0)) << result;
  // 65536 inputs pass the command line: the run goes on to open them.
  std::vector<std::string> args = {"--multi"};
  args.resize(65536 + 1, "missing");
  result = run(Program::kPlandrex, args);
  EXPECT_TRUE(result.exitedWith(2)) << result;
  EXPECT_EQ(result.err, std::string(kBanner) +
                            "Unable to open graph file `missing'\n(No such file or directory)\n");
}

// The temporary file beside the target is ".NAME.XXXXXX", 8 bytes longer than the name; a name
// within 8 bytes of the 255-byte limit used to be refused with "File name too long".
TEST_F(OutputFaultsTest, NamesUpToTheLengthLimitAreWritten) {
  for (Program program : kBothPrograms) {
    const std::string expected = usualOutput(program);
    for (std::size_t length : {247, 248, 250, 255}) {
      for (bool exists : {false, true}) {
        const std::string name(length, 'o');
        SCOPED_TRACE(std::string(nameOf(program)) + " " + std::to_string(length) +
                     (exists ? " existing" : " new"));
        if (exists) {
          ASSERT_TRUE(dir.write(name, kOldContents));
        }
        const std::set<std::string> before = listDirectory(dir.path());
        std::vector<std::string> args = {"-o", name};
        for (const std::string& arg : usualInputs(program)) {
          args.push_back(arg);
        }
        if (program == Program::kPlandrex) {
          args.insert(args.begin(), "-f");
        }
        const ProcessResult result = run(program, args);
        EXPECT_TRUE(result.exitedWith(0)) << result;
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(dir.read(name), expected);
        std::set<std::string> after = before;
        after.insert(name);
        EXPECT_EQ(listDirectory(dir.path()), after);
        std::filesystem::remove(dir.file(name));
      }
    }
  }
}

// In a sticky directory a file of another user may be writable but cannot be renamed over: such
// a target is written in place from the start, and keeps its owner. It used to be computed in
// full and then refused with "Operation not permitted". As root the run is made as nobody.
TEST_F(OutputFaultsTest, WritableTargetOfAnotherUserInAStickyDirectoryIsWrittenInPlace) {
  if (geteuid() != 0) {
    GTEST_SKIP() << "needs root to own a file that the run as nobody writes";
  }
  if (access("/usr/bin/setpriv", X_OK) != 0) {
    GTEST_SKIP() << "setpriv is missing: cannot run as nobody";
  }
  const std::string asNobody = "exec setpriv --reuid=65534 --regid=65534 --clear-groups";
  ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
  ASSERT_TRUE(std::filesystem::create_directory(dir.file("sticky")));
  ASSERT_EQ(chmod(dir.file("sticky").c_str(), 01777), 0);
  for (Program program : kBothPrograms) {
    SCOPED_TRACE(nameOf(program));
    ASSERT_TRUE(dir.write("sticky/out.zng", kOldContents));
    ASSERT_EQ(chmod(dir.file("sticky/out.zng").c_str(), 0666), 0);
    std::vector<std::string> args = {"-o", "sticky/out.zng"};
    for (const std::string& arg : usualInputs(program)) {
      args.push_back(arg);
    }
    if (program == Program::kPlandrex) {
      args.insert(args.begin(), "-f");
    }
    const ProcessResult result = runAfter(asNobody, program, args);
    EXPECT_TRUE(result.exitedWith(0)) << result;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(dir.read("sticky/out.zng"), usualOutput(program));
    struct stat info {};
    ASSERT_EQ(stat(dir.file("sticky/out.zng").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 0u);
    EXPECT_EQ(listDirectory(dir.file("sticky")), std::set<std::string>{"out.zng"});
  }
}

// An -o file that is one of plandrex-import's inputs or its --relationships file, by any name,
// is refused before anything is written, with plandrex's message; it used to be replaced by
// the graph made from it.
TEST_F(OutputFaultsTest, ImporterRefusesAnOutputThatItReads) {
  const std::string table =
      "TABLE_DUMP2|1277971199|B|202.249.2.20|4777|10.0.0.0/24|1 2 3|IGP|"
      "202.249.2.20|0|0||NAG||\n";
  ASSERT_TRUE(dir.write("rib.txt", table));
  ASSERT_TRUE(dir.write("rel.txt", "1|2|-1\n"));
  std::filesystem::create_hard_link(dir.file("in.txt"), dir.file("hard.txt"));
  std::filesystem::create_symlink("in.txt", dir.file("soft.txt"));
  struct Case {
    std::vector<std::string> args;
    bool inputFromInTxt;  // standard input redirected from in.txt
    const char* output;
  };
  const Case cases[] = {
      {{"-o", "in.txt", "in.txt"}, false, "in.txt"},
      {{"-o", "hard.txt", "in.txt"}, false, "hard.txt"},
      {{"-o", "soft.txt", "in.txt"}, false, "soft.txt"},
      {{"-o", "./in.txt", "--format", "links", "-"}, true, "./in.txt"},
      {{"--relationships", "rel.txt", "-o", "rel.txt", "rib.txt"}, false, "rel.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(describe(c.args));
    const std::set<std::string> before = listDirectory(dir.path());
    const ProcessResult result =
        run(Program::kImporter, c.args,
            c.inputFromInTxt ? StdinSource::file(dir.file("in.txt")) : StdinSource::nullDevice());
    EXPECT_TRUE(result.exitedWith(3)) << result;
    EXPECT_EQ(result.err, "Unable to open file `" + std::string(c.output) +
                              "' for writing\n(it is also an input file)\n");
    EXPECT_EQ(dir.read("in.txt"), kLinks);
    EXPECT_EQ(dir.read("rel.txt"), "1|2|-1\n");
    EXPECT_EQ(listDirectory(dir.path()), before);
  }
}

// Too little memory for the inputs, in every mode of both programs: "Out of memory", status 3,
// the target as it was and no temporary file left; it used to end by SIGABRT (an uncaught
// std::bad_alloc) with the temporary file left behind. AddressSanitizer reserves terabytes of
// address space, so only a plain build can run under a limit.
TEST_F(OutputFaultsTest, RunningOutOfMemoryKeepsTheTargetAndSaysSo) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizers cannot run under a limit on address space";
#endif
  // A pair of graphs and a link list of 300,000 adjacencies: tens of megabytes once read.
  constexpr int kNodes = 60000;
  constexpr int kSpan = 5;
  std::string nodes;
  std::string edges;
  std::string links;
  int edgeCount = 0;
  for (int node = 1; node <= kNodes; ++node) {
    nodes += std::to_string(node) + "\n";
    for (int step = 1; step <= kSpan && node + step <= kNodes; ++step) {
      const std::string pair = std::to_string(node) + " " + std::to_string(node + step);
      edges += pair + " 1 1 1 2 3 4\n";
      links += pair + "\n";
      ++edgeCount;
    }
  }
  const std::string header =
      "\n\n" + std::to_string(kNodes) + "\n" + std::to_string(edgeCount) + "\n" + nodes + edges;
  ASSERT_TRUE(dir.write("big1.zng", "ZNG\n1\nbig1" + header));
  ASSERT_TRUE(dir.write("big2.zng", "ZNG\n1\nbig2" + header));
  ASSERT_TRUE(dir.write("big.txt", links));
  ASSERT_TRUE(dir.write("out.zng", kOldContents));
  const std::set<std::string> before = listDirectory(dir.path());

  struct Case {
    Program program;
    std::vector<std::string> args;
  };
  const Case cases[] = {
      {Program::kPlandrex, {"big1.zng", "big2.zng"}},
      {Program::kPlandrex, {"-l", "big1.zng", "big2.zng"}},
      {Program::kPlandrex, {"--over:a", "big1.zng", "big2.zng"}},
      {Program::kPlandrex, {"--comp:a", "big1.zng", "big2.zng"}},
      {Program::kPlandrex, {"--multi", "big1.zng", "big2.zng"}},
      {Program::kImporter, {"big.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(describe(c.args));
    std::vector<std::string> args = {"-o", "out.zng"};
    if (c.program == Program::kPlandrex) {
      args.insert(args.begin(), "-f");
    }
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ProcessResult result = runAfter("ulimit -v 49152; exec", c.program, args);
    EXPECT_TRUE(result.exitedWith(3)) << result;
    EXPECT_EQ(result.err,
              std::string(c.program == Program::kPlandrex ? kBanner : "") + "Out of memory\n");
    EXPECT_EQ(dir.read("out.zng"), kOldContents);
    EXPECT_EQ(listDirectory(dir.path()), before);
  }
}

}  // namespace
}  // namespace e2e
