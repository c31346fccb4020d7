#include "fileio/replacing_output.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "tests/e2e/temp_dir.h"

namespace {

std::set<std::string> entries(const e2e::TempDir& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

unsigned permissionsOf(const std::string& path) {
  struct stat info {};
  stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

// Runs body in a child process and returns its wait status, for what ends a process.
template <class Body>
int inChild(Body body) {
  fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    body();
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

TEST(ReplacingOutputTest, TargetKeepsItsBytesUntilCommitThenTakesTheNewOnes) {
  e2e::TempDir dir;
  ASSERT_TRUE(dir.write("out.txt", "old\n"));
  chmod(dir.file("out.txt").c_str(), 0640);

  ReplacingOutput output;
  ASSERT_TRUE(output.open(dir.file("out.txt").c_str()));
  EXPECT_TRUE(output.replacing());
  fputs("new\n", output.stream());
  fflush(output.stream());
  EXPECT_EQ(dir.read("out.txt"), "old\n");
  EXPECT_EQ(entries(dir).size(), 2u);

  ASSERT_TRUE(output.commit());
  EXPECT_EQ(dir.read("out.txt"), "new\n");
  EXPECT_EQ(permissionsOf(dir.file("out.txt")), 0640u);
  EXPECT_EQ(entries(dir), std::set<std::string>{"out.txt"});
}

// A name near the 255-byte limit has no room for ".NAME.XXXXXX": the temporary name is cut, and
// never inside a UTF-8 character, while the file is still made beside the target.
TEST(ReplacingOutputTest, NamesAtTheLengthLimitAreReplacedThroughAShorterTemporaryName) {
  const std::string twoByteCharacter = "\xc3\xa9";
  const std::string names[] = {
      std::string(247, 'a'),
      std::string(255, 'a'),
      [&] {
        std::string text;
        for (int i = 0; i < 127; ++i) {
          text += twoByteCharacter;
        }
        return text;
      }(),
  };
  for (const std::string& name : names) {
    SCOPED_TRACE(name.size());
    e2e::TempDir dir;
    ASSERT_TRUE(dir.write(name, "old\n"));
    ReplacingOutput output;
    ASSERT_TRUE(output.open(dir.file(name).c_str())) << std::strerror(errno);
    EXPECT_TRUE(output.replacing());
    for (const std::string& entry : entries(dir)) {
      if (entry != name) {
        EXPECT_LE(entry.size(), 255u);
        // Cut on a character boundary: the byte before ".XXXXXX" ends a character.
        const auto last = static_cast<unsigned char>(entry[entry.size() - 8]);
        EXPECT_TRUE(last < 0x80 || (last & 0xC0) == 0x80) << entry;
      }
    }
    fputs("new\n", output.stream());
    ASSERT_TRUE(output.commit());
    EXPECT_EQ(dir.read(name), "new\n");
    EXPECT_EQ(entries(dir), std::set<std::string>{name});
  }
}

TEST(ReplacingOutputTest, DiscardLeavesAnExistingTargetAndCreatesNoNewOne) {
  e2e::TempDir dir;
  ASSERT_TRUE(dir.write("kept.txt", "old\n"));
  {
    ReplacingOutput kept;
    ASSERT_TRUE(kept.open(dir.file("kept.txt").c_str()));
    fputs("partial", kept.stream());
    kept.discard();
    ReplacingOutput fresh;
    ASSERT_TRUE(fresh.open(dir.file("fresh.txt").c_str()));
    fputs("partial", fresh.stream());
    // fresh is dropped without commit, as on an early return.
  }
  EXPECT_EQ(dir.read("kept.txt"), "old\n");
  EXPECT_EQ(entries(dir), std::set<std::string>{"kept.txt"});
}

TEST(ReplacingOutputTest, NewFileFollowsTheUmaskAndALinkStaysALink) {
  e2e::TempDir dir;
  const mode_t previous = umask(027);
  ReplacingOutput fresh;
  ASSERT_TRUE(fresh.open(dir.file("fresh.txt").c_str()));
  umask(previous);
  fputs("x", fresh.stream());
  ASSERT_TRUE(fresh.commit());
  EXPECT_EQ(permissionsOf(dir.file("fresh.txt")), 0640u);

  ASSERT_TRUE(dir.write("real.txt", "old\n"));
  ASSERT_EQ(symlink("real.txt", dir.file("link.txt").c_str()), 0);
  ReplacingOutput throughLink;
  ASSERT_TRUE(throughLink.open(dir.file("link.txt").c_str()));
  fputs("new\n", throughLink.stream());
  ASSERT_TRUE(throughLink.commit());
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.txt")));
  EXPECT_EQ(dir.read("real.txt"), "new\n");
  EXPECT_EQ(entries(dir), (std::set<std::string>{"fresh.txt", "link.txt", "real.txt"}));
}

// A dangling link used to be replaced by a plain file instead of naming the
// file that the output creates.
TEST(ReplacingOutputTest, ADanglingLinkStaysALinkAndGetsItsFile) {
  e2e::TempDir dir;
  ASSERT_TRUE(std::filesystem::create_directory(dir.file("sub")));
  ASSERT_EQ(symlink("sub/hop", dir.file("first").c_str()), 0);
  ASSERT_EQ(symlink("made.txt", dir.file("sub/hop").c_str()), 0);
  ReplacingOutput output;
  ASSERT_TRUE(output.open(dir.file("first").c_str()));
  EXPECT_TRUE(output.replacing());
  fputs("new\n", output.stream());
  ASSERT_TRUE(output.commit());
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("first")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("sub/hop")));
  EXPECT_EQ(dir.read("sub/made.txt"), "new\n");
  EXPECT_EQ(entries(dir), (std::set<std::string>{"first", "sub"}));

  // A loop of links is refused as fopen refuses it.
  ASSERT_EQ(symlink("loop", dir.file("loop").c_str()), 0);
  ReplacingOutput looping;
  errno = 0;
  EXPECT_FALSE(looping.open(dir.file("loop").c_str()));
  EXPECT_EQ(errno, ELOOP);
}

TEST(ReplacingOutputTest, DevicesAreWrittenInPlaceAndTheirFailuresReported) {
  ReplacingOutput null;
  ASSERT_TRUE(null.open("/dev/null"));
  EXPECT_FALSE(null.replacing());
  fputs("ignored", null.stream());
  EXPECT_TRUE(null.commit());

  if (access("/dev/full", W_OK) != 0) {
    GTEST_SKIP() << "/dev/full is not available";
  }
  ReplacingOutput full;
  ASSERT_TRUE(full.open("/dev/full"));
  fputs("lost", full.stream());
  errno = 0;
  EXPECT_FALSE(full.commit());
  EXPECT_EQ(errno, ENOSPC);
}

TEST(ReplacingOutputTest, OpenFailsAsFopenWouldForAMissingDirectory) {
  e2e::TempDir dir;
  ReplacingOutput output;
  errno = 0;
  EXPECT_FALSE(output.open(dir.file("no/such/dir.txt").c_str()));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_EQ(output.stream(), nullptr);
}

TEST(ReplacingOutputTest, AWriteThatFailsMidwayLeavesTheTargetAndNoTemporaryFile) {
  e2e::TempDir dir;
  ASSERT_TRUE(dir.write("out.txt", "old\n"));
  const std::string target = dir.file("out.txt");
  // A file size limit makes the disk "fill" after 4 KiB, in this child only.
  const int status = inChild([&target] {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {
      4096, 4096
    };
    setrlimit(RLIMIT_FSIZE, &limit);
    ReplacingOutput output;
    if (!output.open(target.c_str())) {
      _exit(2);
    }
    for (int i = 0; i < 4096; ++i) {
      fputs("0123456789", output.stream());
    }
    _exit(output.commit() ? 0 : errno == EFBIG ? 3 : 4);
  });
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3);
  EXPECT_EQ(dir.read("out.txt"), "old\n");
  EXPECT_EQ(entries(dir), std::set<std::string>{"out.txt"});
}

TEST(ReplacingOutputTest, ATerminatingSignalRemovesTheTemporaryFileAndStillEndsTheProcess) {
  for (int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGXFSZ}) {
    e2e::TempDir dir;
    ASSERT_TRUE(dir.write("out.txt", "old\n"));
    const std::string target = dir.file("out.txt");
    const int status = inChild([&target, signalNumber] {
      // A shell may start tests with SIGINT ignored; a signal ignored at the
      // start stays ignored by design, so undo that here.
      struct sigaction current {};
      if (sigaction(signalNumber, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) {
        signal(signalNumber, SIG_DFL);
      }
      // SIGQUIT and SIGXFSZ would leave a core file.
      struct rlimit noCore {
        0, 0
      };
      setrlimit(RLIMIT_CORE, &noCore);
      ReplacingOutput output;
      if (!output.open(target.c_str())) {
        _exit(2);
      }
      fputs("partial", output.stream());
      fflush(output.stream());
      raise(signalNumber);
      _exit(5);
    });
    ASSERT_TRUE(WIFSIGNALED(status)) << "signal " << signalNumber;
    EXPECT_EQ(WTERMSIG(status), signalNumber);
    EXPECT_EQ(dir.read("out.txt"), "old\n");
    EXPECT_EQ(entries(dir), std::set<std::string>{"out.txt"});
  }
}

}  // namespace
