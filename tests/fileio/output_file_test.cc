#include "fileio/output_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "tests/e2e/temp_dir.h"

namespace {

// A second output of a run under another spelling of the first one's name: whether the target
// exists yet or not, through "./", a symbolic link or a hard link, it is the same file.
TEST(OutputFileTest, AnEarlierOutputUnderAnotherSpellingIsRefused) {
  struct Case {
    const char* name;
    const char* first;
    const char* second;
    bool firstExists;
    bool refused;
  };
  const Case cases[] = {
      {"same name, new", "x.csv", "x.csv", false, true},
      {"dot slash, new", "x.csv", "./x.csv", false, true},
      {"dot slash, existing", "x.csv", "./x.csv", true, true},
      {"through the directory, new", "sub/../x.csv", "x.csv", false, true},
      {"symbolic link", "x.csv", "link.csv", true, true},
      {"hard link", "x.csv", "hard.csv", true, true},
      {"another name", "x.csv", "y.csv", true, false},
      {"same leaf, other directory", "x.csv", "sub/x.csv", false, false},
  };
  const std::filesystem::path workDir = std::filesystem::current_path();
  for (const Case& c : cases) {
    e2e::TempDir dir;
    ASSERT_EQ(mkdir(dir.file("sub").c_str(), 0777), 0);
    if (c.firstExists) {
      ASSERT_TRUE(dir.write("x.csv", "old\n"));
      ASSERT_EQ(symlink("x.csv", dir.file("link.csv").c_str()), 0);
      ASSERT_EQ(link(dir.file("x.csv").c_str(), dir.file("hard.csv").c_str()), 0);
    }
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    OutputFile first;
    ASSERT_EQ(first.open(c.first, {}), OutputFile::Opening::kOpened) << c.name;
    OutputFile second;
    OutputFile::Checks checks;
    checks.outputs = {c.first};
    const OutputFile::Opening opening = second.open(c.second, checks);
    EXPECT_EQ(opening == OutputFile::Opening::kRefused, c.refused) << c.name;
    if (c.refused) {
      EXPECT_EQ(second.message(), std::string("Unable to open file `") + c.second +
                                      "' for writing\n(it is also an output file)\n")
          << c.name;
    }
    first.finish(false);
    second.finish(false);
    std::filesystem::current_path(workDir);
    EXPECT_EQ(dir.exists("x.csv") ? dir.read("x.csv") : "", c.firstExists ? "old\n" : "") << c.name;
  }
}

// Outputs finished together replace their targets only when every one of them is complete: a
// failure in any leaves all targets as they were, whichever comes first.
TEST(OutputFileTest, OutputsFinishedTogetherTakeEffectOnlyWhenAllAreComplete) {
  for (int failing = -1; failing < 2; ++failing) {
    e2e::TempDir dir;
    ASSERT_TRUE(dir.write("a.txt", "old a\n"));
    ASSERT_TRUE(dir.write("b.txt", "old b\n"));
    const std::string a = dir.file("a.txt");
    const std::string b = dir.file("b.txt");
    OutputFile outputs[2];
    ASSERT_EQ(outputs[0].open(a.c_str(), {}), OutputFile::Opening::kOpened);
    ASSERT_EQ(outputs[1].open(b.c_str(), {}), OutputFile::Opening::kOpened);
    std::fputs("new a\n", outputs[0].stream());
    std::fputs("new b\n", outputs[1].stream());
    if (failing >= 0) {
      errno = ENOSPC;
      outputs[failing].writeFailed();
    }
    std::string message;
    const bool finished = finishTogether({&outputs[0], &outputs[1]}, message);
    EXPECT_EQ(finished, failing < 0) << failing;
    if (failing < 0) {
      EXPECT_EQ(dir.read("a.txt"), "new a\n");
      EXPECT_EQ(dir.read("b.txt"), "new b\n");
      EXPECT_EQ(message, "");
    } else {
      EXPECT_EQ(dir.read("a.txt"), "old a\n") << failing;
      EXPECT_EQ(dir.read("b.txt"), "old b\n") << failing;
      EXPECT_EQ(message, "Unable to write to file `" + (failing == 0 ? a : b) +
                             "'\n(No space left on device)\n");
    }
    EXPECT_EQ(e2e::listDirectory(dir.path()).size(), 2u) << "temporary files left: " << failing;
  }
}

}  // namespace
