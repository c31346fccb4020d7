// What a run does to the file named with -o and to the files around it: an input is never
// destroyed, and a run that fails or is stopped leaves the target as it found it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/driver_fixtures.h"

namespace e2e {
namespace {

// The names in a directory, to show that a run left no file of its own behind.
std::set<std::string> listDirectory(const std::string& path) {
  std::set<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(path, error)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

class OutputFileTest : public DriverTest {};

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
    std::string trace;
    for (const std::string& arg : c.args) {
      trace += arg + " ";
    }
    SCOPED_TRACE(trace);
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

}  // namespace
}  // namespace e2e
