// What a run does to the file named with -o and to the files around it: an input is never
// destroyed, and a run that fails or is stopped leaves the target as it found it.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/driver_fixtures.h"

namespace e2e {
namespace {

// A graph whose nodes form a chain of directed edges: large enough that writing it takes many
// buffer flushes and, with --multi, more than a pipe holds.
std::string chainGraph(int nodes) {
  std::string graph =
      "ZNG\n1\nchain\n\n" + std::to_string(nodes) + "\n" + std::to_string(nodes - 1) + "\n";
  for (int node = 1; node <= nodes; ++node) {
    graph += std::to_string(node) + "\n";
  }
  for (int node = 1; node < nodes; ++node) {
    graph += std::to_string(node) + " " + std::to_string(node + 1) + " 1 1 10 100 20 200\n";
  }
  return graph;
}

std::string joined(const std::vector<std::string>& args) {
  std::string text;
  for (const std::string& arg : args) {
    text += arg + " ";
  }
  return text;
}

unsigned permissionsOf(const std::string& path) {
  struct stat info {};
  stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

const char* const kOldContents = "old contents\n";
const char* const kNotAGraph = "XYZ\n1\nx\n\n0\n0\n";
// Clears the screen and retitles the window when shown verbatim on a terminal.
const char* const kHostileGraph = "\x1b[2J\x1b]0;owned\a\n";

class OutputFileTest : public DriverTest {
 protected:
  void SetUp() override {
    DriverTest::SetUp();
    ASSERT_TRUE(dir.write("bad.zng", kNotAGraph));
    ASSERT_TRUE(dir.write("hostile.zng", kHostileGraph));
    ASSERT_TRUE(dir.write("big.zng", chainGraph(3000)));
    ASSERT_TRUE(dir.write("out.zng", kOldContents));
  }

  // Runs plandrex through sh -c script, with the plandrex path as $0 and args as "$@".
  ProcessResult runThroughShell(const std::string& script, const std::vector<std::string>& args) {
    RunOptions options;
    options.args = {"-c", script, plandrexPath()};
    options.args.insert(options.args.end(), args.begin(), args.end());
    options.workDir = dir.path();
    options.input = StdinSource::bytes("");
    return runProgram("/bin/sh", options);
  }

  // Waits until the run has made its temporary file beside the target name.
  bool temporaryFileAppears(const std::string& target) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
      for (const std::string& name : listDirectory(dir.path())) {
        if (name.rfind("." + target + ".", 0) == 0) {
          return true;
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
};

// Regression: a graph redirected into standard input from the -o file used to be emptied before
// it was read, since only named inputs were compared with the output.
TEST_F(OutputFileTest, StandardInputFromTheOutputFileIsRefusedAndLeftIntact) {
  ASSERT_EQ(link(dir.file("a.zng").c_str(), dir.file("hardlink.zng").c_str()), 0);
  ASSERT_EQ(symlink("a.zng", dir.file("symlink.zng").c_str()), 0);
  struct Case {
    std::vector<std::string> args;
    std::string output;
  };
  const Case cases[] = {
      {{"-f", "-o", "a.zng", "-", "b.zng"}, "a.zng"},
      {{"-o", "a.zng", "-", "b.zng"}, "a.zng"},
      {{"-f", "-o", "a.zng", "b.zng", "-"}, "a.zng"},
      {{"-f", "--over:a", "-o", "a.zng", "-", "b.zng"}, "a.zng"},
      {{"-f", "--comp:a,A", "-o", "a.zng", "b.zng", "-s", "-"}, "a.zng"},
      {{"-f", "-l", "-o", "hardlink.zng", "-", "b.zng"}, "hardlink.zng"},
      {{"-o", "symlink.zng", "-", "b.zng"}, "symlink.zng"},
      {{"-f", "--multi", "-o", "a.zng", "b.zng", "d.znd", "-"}, "a.zng"},
      {{"--multi", "-o", "./a.zng", "-", "b.zng"}, "./a.zng"},
  };
  const std::set<std::string> before = listDirectory(dir.path());
  for (const Case& c : cases) {
    SCOPED_TRACE(joined(c.args));
    const ProcessResult result = run(c.args, StdinSource::file(dir.file("a.zng")));
    EXPECT_TRUE(result.exitedWith(3)) << result;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, std::string(kBanner) + "Unable to open file `" + c.output +
                              "' for writing\n(it is also an input file)\n");
    EXPECT_EQ(dir.read("a.zng"), kFirstGraph);
    EXPECT_EQ(listDirectory(dir.path()), before);
  }
}

// Standard input redirected from some other file is an ordinary input, and a pipe never counts.
TEST_F(OutputFileTest, StandardInputFromAnotherFileIsNoConflict) {
  ASSERT_TRUE(dir.write("out.zng", "old contents\n"));
  ProcessResult result =
      run({"-f", "-o", "out.zng", "-", "b.zng"}, StdinSource::file(dir.file("a.zng")));
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(dir.read("out.zng"), kReport);

  result = run({"-f", "-o", "a.zng", "-", "b.zng"}, StdinSource::bytes(kFirstGraph));
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(dir.read("a.zng"), kReport);
}

// Regression: a run that failed after the output was opened used to leave the target emptied (or
// a new, empty file that a build tool would then take as up to date).
TEST_F(OutputFileTest, FailedRunLeavesTheTargetAsItWas) {
  struct Case {
    std::vector<std::string> args;
    std::string stdinBytes;
    int status;
    std::string err;
  };
  const Case cases[] = {
      {{"a.zng", "missing.zng"},
       "",
       2,
       "Unable to open source file `missing.zng'\n(No such file or directory)\n"},
      {{"a.zng", "bad.zng"},
       "",
       3,
       "File `bad.zng' does not appear to be a valid graph file:\n"
       "Invalid file type string: `XYZ'\n"},
      {{"--over:a", "-", "b.zng"},
       "XYZ\n",
       3,
       "Left input does not appear to be a valid graph:\nInvalid file type string: `XYZ'\n"},
      {{"--multi", "a.zng", "b.zng", "missing.zng"},
       "",
       2,
       "Unable to open graph file `missing.zng'\n(No such file or directory)\n"},
      {{"--multi", "a.zng", "-"},
       "ZNG\n0\n",
       3,
       "Graph from stdin does not appear to be a valid graph:\n"
       "Invalid number of source files: `0'\n"},
      {{"-l", "a.zng", "hostile.zng"},
       "",
       3,
       "File `hostile.zng' does not appear to be a valid graph file:\n"
       "Invalid file type string: `\\x1b[2J\\x1b]0;owned\\x07'\n"},
  };
  const std::set<std::string> before = listDirectory(dir.path());
  for (const Case& c : cases) {
    struct Variant {
      std::vector<std::string> options;
      std::string answer;
      std::string question;
    };
    const Variant variants[] = {
        {{"-f", "-o", "out.zng"}, "", ""},
        {{"-o", "out.zng"}, "y\n", kOverwriteQuestion},
        {{"-o", "new.zng"}, "", ""},
    };
    for (const Variant& v : variants) {
      std::vector<std::string> args = v.options;
      args.insert(args.end(), c.args.begin(), c.args.end());
      SCOPED_TRACE(joined(args));
      const ProcessResult result = run(args, StdinSource::bytes(v.answer + c.stdinBytes));
      EXPECT_TRUE(result.exitedWith(c.status)) << result;
      EXPECT_EQ(result.out, "");
      EXPECT_EQ(result.err, v.question + kBanner + c.err);
      EXPECT_EQ(dir.read("out.zng"), kOldContents);
      EXPECT_EQ(listDirectory(dir.path()), before);
    }
  }
}

TEST_F(OutputFileTest, SuccessfulRunReplacesTheTargetAndKeepsItsPermissionBits) {
  ASSERT_EQ(chmod(dir.file("out.zng").c_str(), 0604), 0);
  ASSERT_EQ(symlink("out.zng", dir.file("link.zng").c_str()), 0);
  const std::set<std::string> before = listDirectory(dir.path());

  ProcessResult result = run({"-f", "-o", "out.zng", "a.zng", "b.zng"});
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(dir.read("out.zng"), kReport);
  EXPECT_EQ(permissionsOf(dir.file("out.zng")), 0604u);

  // Through a link: the file it names is replaced and the link stays a link.
  result = run({"-o", "link.zng", "-l", "a.zng", "b.zng"}, StdinSource::bytes("y\n"));
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.err,
            "Warning: file `link.zng'\nalready exists and is about to be overwritten.\n"
            "Do you want to proceed (y/n)? ");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.zng")));
  EXPECT_EQ(dir.read("out.zng"), kNodeList);
  EXPECT_EQ(permissionsOf(dir.file("out.zng")), 0604u);
  EXPECT_EQ(listDirectory(dir.path()), before);

  // A new name in another directory.
  ASSERT_TRUE(std::filesystem::create_directory(dir.file("sub")));
  result = run({"-o", "sub/new.zng", "a.zng", "b.zng"});
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(dir.read("sub/new.zng"), kReport);
  EXPECT_EQ(listDirectory(dir.file("sub")), std::set<std::string>{"new.zng"});
}

// A name for a descriptor the run already holds is written in place, whatever the descriptor
// is: the caller keeps using what it opened.
TEST_F(OutputFileTest, DescriptorNamesAreWrittenInPlace) {
  const std::set<std::string> before = listDirectory(dir.path());
  ProcessResult result = run({"-f", "-o", "/dev/stdout", "a.zng", "b.zng"});
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.out, kReport);

  RunOptions options;
  options.args = {"-f", "-o", "/dev/fd/1", "-l", "a.zng", "b.zng"};
  options.workDir = dir.path();
  options.output = StdoutSink::file(dir.file("out.zng"));
  result = runPlandrex(options);
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(dir.read("out.zng"), kNodeList);
  EXPECT_EQ(listDirectory(dir.path()), before);
}

// The file size limit stands in for a disk that fills while the graph is being written: the
// write fails when the limit's signal is ignored, and the signal ends the run when it is not.
TEST_F(OutputFileTest, WriteThatFailsMidwayLeavesTheTargetAsItWas) {
  const std::set<std::string> before = listDirectory(dir.path());
  for (const char* name : {"out.zng", "new.zng"}) {
    SCOPED_TRACE(name);
    const std::vector<std::string> args = {"-f", "-o", name, "--comp:a", "big.zng", "a.zng"};
    ProcessResult result = runThroughShell("ulimit -f 8; trap '' XFSZ; exec \"$0\" \"$@\"", args);
    EXPECT_TRUE(result.exitedWith(3)) << result;
    EXPECT_EQ(result.err,
              std::string(kBanner) + "Unable to write to file `" + name + "'\n(File too large)\n");
    EXPECT_EQ(dir.read("out.zng"), kOldContents);
    EXPECT_EQ(listDirectory(dir.path()), before);

    result = runThroughShell("ulimit -f 8; exec \"$0\" \"$@\"", args);
    EXPECT_EQ(result.termSignal, SIGXFSZ) << result;
    EXPECT_EQ(dir.read("out.zng"), kOldContents);
    EXPECT_EQ(listDirectory(dir.path()), before);
  }
}

// A real full disk: a small memory file system, mounted in a mount namespace of the run's own so
// that nobody else sees it. Needs the right to make one; skipped where that is missing.
TEST_F(OutputFileTest, FullDiskLeavesTheTargetAsItWas) {
  ASSERT_TRUE(std::filesystem::create_directory(dir.file("small")));
  const std::string script =
      "unshare -m sh -c 'mount -t tmpfs -o size=16k plandrex-test small' 2>/dev/null || exit 99\n"
      "exec unshare -m sh -c '"
      "mount -t tmpfs -o size=16k plandrex-test small || exit 98\n"
      "printf \"old contents\\n\" > small/out.zng\n"
      "\"$0\" \"$@\"; echo \"status $?\"; cat small/out.zng; ls -A small' \"$0\" \"$@\"";
  const ProcessResult result =
      runThroughShell(script, {"-f", "-o", "small/out.zng", "--comp:a", "big.zng", "a.zng"});
  if (result.exitedWith(99)) {
    GTEST_SKIP() << "cannot mount a file system in a mount namespace of its own here";
  }
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.out, "status 3\nold contents\nout.zng\n");
  EXPECT_EQ(result.err, std::string(kBanner) +
                            "Unable to write to file `small/out.zng'\n(No space left on device)\n");
}

// A read-only file system takes neither a temporary file nor the target: refused at open, as
// before, and the target keeps its bytes. Made with a read-only bind mount in a mount namespace
// of the run's own; skipped where that is not allowed.
TEST_F(OutputFileTest, ReadOnlyFileSystemRefusesTheOutputAndKeepsTheTarget) {
  ASSERT_TRUE(std::filesystem::create_directory(dir.file("ro")));
  ASSERT_TRUE(dir.write("ro/out.zng", kOldContents));
  const std::string script =
      "unshare -m sh -c 'mount --bind ro ro && mount -o remount,bind,ro ro' 2>/dev/null || exit "
      "99\n"
      "exec unshare -m sh -c 'mount --bind ro ro && mount -o remount,bind,ro ro || exit 98\n"
      "\"$0\" -f -o ro/out.zng a.zng b.zng; echo \"status $?\"\n"
      "\"$0\" -o ro/new.zng a.zng b.zng; echo \"status $?\"' \"$0\"";
  const ProcessResult result = runThroughShell(script, {});
  if (result.exitedWith(99)) {
    GTEST_SKIP() << "cannot make a read-only bind mount in a mount namespace of its own here";
  }
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.out, "status 3\nstatus 3\n");
  EXPECT_EQ(result.err,
            std::string(kBanner) +
                "Unable to open file `ro/out.zng' for writing\n(Read-only file system)\n" +
                kBanner +
                "Unable to open file `ro/new.zng' for writing\n(Read-only file system)\n");
  EXPECT_EQ(dir.read("ro/out.zng"), kOldContents);
  EXPECT_EQ(listDirectory(dir.file("ro")), std::set<std::string>{"out.zng"});
}

// A writable target in a directory that takes no new file is written in place, as before: a
// successful run replaces its bytes, a failed one leaves it emptied. Directory permissions do
// not hold for root, so as root the run is made as the unprivileged user nobody.
TEST_F(OutputFileTest, WritableTargetInALockedDirectoryIsWrittenInPlace) {
  std::string prefix;
  if (geteuid() == 0) {
    if (access("/usr/bin/setpriv", X_OK) != 0) {
      GTEST_SKIP() << "running as root and setpriv is missing: cannot lock a directory";
    }
    prefix = "exec setpriv --reuid=65534 --regid=65534 --clear-groups ";
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
  }
  ASSERT_TRUE(std::filesystem::create_directory(dir.file("locked")));
  ASSERT_TRUE(dir.write("locked/out.zng", kOldContents));
  ASSERT_EQ(chmod(dir.file("locked/out.zng").c_str(), 0666), 0);
  ASSERT_EQ(chmod(dir.file("locked").c_str(), 0555), 0);
  const std::string command = prefix + "\"$0\" \"$@\"";

  ProcessResult result = runThroughShell(command, {"-f", "-o", "locked/out.zng", "a.zng", "b.zng"});
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(dir.read("locked/out.zng"), kReport);

  result = runThroughShell(command, {"-f", "-o", "locked/out.zng", "a.zng", "bad.zng"});
  EXPECT_TRUE(result.exitedWith(3)) << result;
  EXPECT_EQ(dir.read("locked/out.zng"), "");

  result = runThroughShell(command, {"-o", "locked/new.zng", "a.zng", "b.zng"});
  EXPECT_TRUE(result.exitedWith(3)) << result;
  EXPECT_EQ(result.err,
            std::string(kBanner) +
                "Unable to open file `locked/new.zng' for writing\n(Permission denied)\n");
  EXPECT_EQ(listDirectory(dir.file("locked")), std::set<std::string>{"out.zng"});
  // The temporary directory must stay removable.
  chmod(dir.file("locked").c_str(), 0755);
}

// A run stopped by a signal while it still reads its input: the handler removes the temporary
// file, and the process still ends by the signal, as a shell expects.
TEST_F(OutputFileTest, InterruptedRunRemovesItsTemporaryFile) {
  const std::set<std::string> before = listDirectory(dir.path());
  for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
    for (const char* name : {"out.zng", "new.zng"}) {
      SCOPED_TRACE(std::to_string(signalNumber) + " " + std::string(name));
      PtySession session;
      PtyOptions options;
      // Standard input is the terminal, so the run waits for a graph to be typed.
      options.args = {"-f", "-o", name, "-", "b.zng"};
      options.argv0 = "plandrex";
      options.workDir = dir.path();
      options.separateStderr = true;
      ASSERT_TRUE(session.start(plandrexPath(), options)) << session.error();
      ASSERT_TRUE(session.waitFor(kTerminalBanner)) << session.screen();
      ASSERT_TRUE(temporaryFileAppears(name));
      if (signalNumber == SIGINT) {
        // As the user would: the terminal sends SIGINT for the interrupt character.
        ASSERT_TRUE(session.type("\x03"));
      } else {
        ASSERT_TRUE(session.sendSignal(signalNumber));
      }
      const ProcessResult result = session.finish();
      EXPECT_EQ(result.termSignal, signalNumber) << result;
      EXPECT_EQ(result.err, "");
      EXPECT_EQ(dir.read("out.zng"), kOldContents);
      EXPECT_EQ(listDirectory(dir.path()), before);
    }
  }
}

// Kept as it is: a reader that closes the pipe ends the run by SIGPIPE, silently, as it ends cat.
TEST_F(OutputFileTest, ClosedPipeEndsTheRunBySigpipeSilently) {
  const ProcessResult result =
      runThroughShell("{ \"$0\" \"$@\" 2>err.txt; echo $? >status.txt; } | head -c 1 >/dev/null",
                      {"--multi", "big.zng", "big.zng"});
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(dir.read("status.txt"), std::to_string(128 + SIGPIPE) + "\n");
  EXPECT_EQ(dir.read("err.txt"), "");
}

}  // namespace
}  // namespace e2e
