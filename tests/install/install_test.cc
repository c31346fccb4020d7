// cmake --install into a staging directory: the programs, the manual pages and the documents land
// where a Unix user expects them, and nothing else does; the installed programs behave exactly as
// the built ones, and the installed pages render without a warning.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/e2e/plandrex_binary.h"
#include "tests/e2e/temp_dir.h"
#include "tests/man/man_page_render.h"

namespace {

namespace fs = std::filesystem;

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every regular file under root, as a path relative to it, sorted.
std::vector<std::string> filesUnder(const std::string& root) {
  std::vector<std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) {
      files.push_back(fs::relative(entry.path(), root).string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

const std::string kExample1 = PLANDREX_SOURCE_DIR "/examples/as-snapshot-1.zng";
const std::string kExample2 = PLANDREX_SOURCE_DIR "/examples/as-snapshot-2.zng";
const std::string kExample3 = PLANDREX_SOURCE_DIR "/examples/as-snapshot-3.zng";

class InstallTest : public testing::Test {
 protected:
  // One installation for the whole suite: installing is the slow part.
  static void SetUpTestSuite() {
    staging_ = new e2e::TempDir();
    e2e::RunOptions options;
    options.args = {"DESTDIR=" + staging_->path(),
                    CMAKE_PROGRAM,
                    "--install",
                    PROJECT_BINARY_DIR,
                    "--prefix",
                    "/usr"};
    installRun_ = new e2e::ProcessResult(e2e::runProgram("/usr/bin/env", options));
  }
  static void TearDownTestSuite() {
    delete installRun_;
    delete staging_;
    installRun_ = nullptr;
    staging_ = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(installRun_->exitedWith(0)) << *installRun_; }

  static std::string installed(const std::string& relative) {
    return staging_->path() + "/usr/" + relative;
  }

  static e2e::TempDir* staging_;
  static e2e::ProcessResult* installRun_;
};

e2e::TempDir* InstallTest::staging_ = nullptr;
e2e::ProcessResult* InstallTest::installRun_ = nullptr;

TEST_F(InstallTest, PutsProgramsPagesAndDocumentsInTheirPlacesAndNothingElse) {
  std::vector<std::string> expected = {
      "usr/bin/plandrex",
      "usr/share/doc/plandrex/NOTICE.md",
      "usr/share/doc/plandrex/README.md",
      "usr/share/man/man1/plandrex-import.1",
      "usr/share/man/man1/plandrex-table.1",
      "usr/share/man/man1/plandrex.1",
      "usr/share/man/man5/plandrex-graph.5",
  };
#ifdef PLANDREX_IMPORT_BINARY
  expected.push_back("usr/bin/plandrex-import");
#endif
#ifdef PLANDREX_TABLE_BINARY
  expected.push_back("usr/bin/plandrex-table");
#endif
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(filesUnder(staging_->path()), expected);

  const fs::perms exec = fs::status(installed("bin/plandrex")).permissions();
  EXPECT_NE(exec & fs::perms::others_exec, fs::perms::none);
  EXPECT_EQ(readFile(installed("share/doc/plandrex/README.md")),
            readFile(PLANDREX_SOURCE_DIR "/README.md"));
}

// The installed program is compared with the built one in every mode: same output, same errors,
// same status.
TEST_F(InstallTest, InstalledPlandrexRunsAsTheBuiltOne) {
  const std::vector<std::vector<std::string>> runs = {
      {kExample1, kExample2},
      {"-l", kExample1, kExample2},
      {"--over:y", "--comment", "changed", kExample1, kExample2},
      {"-n", "--comp:a,A", kExample1, kExample3},
      {"--multi", kExample1, kExample2, kExample3},
      {"--help"},
      {"--over:q", kExample1, kExample2},
      {kExample1, "no-such-file.zng"},
  };
  for (const std::vector<std::string>& args : runs) {
    SCOPED_TRACE(args.front());
    e2e::RunOptions options;
    options.args = args;
    options.argv0 = "plandrex";
    const e2e::ProcessResult built = e2e::runProgram(e2e::plandrexPath(), options);
    const e2e::ProcessResult copy = e2e::runProgram(installed("bin/plandrex"), options);
    EXPECT_EQ(copy.out, built.out);
    EXPECT_EQ(copy.err, built.err);
    EXPECT_EQ(copy.exitStatus, built.exitStatus);
    EXPECT_TRUE(copy.failure.empty()) << copy;
  }
}

TEST_F(InstallTest, InstalledPagesRenderWithoutWarnings) {
  for (const char* relative : {"share/man/man1/plandrex.1", "share/man/man1/plandrex-import.1",
                               "share/man/man1/plandrex-table.1",
                               "share/man/man5/plandrex-graph.5"}) {
    SCOPED_TRACE(relative);
    EXPECT_EQ(mancheck::renderingProblems(GROFF_PROGRAM, installed(relative)), "");
  }
}

TEST_F(InstallTest, InstalledImporterConvertsAsTheBuiltOne) {
#ifdef PLANDREX_IMPORT_BINARY
  e2e::TempDir work;
  ASSERT_TRUE(work.write("links.txt", "# two links\n7 11\n11,300\n"));
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--version"}, {work.file("links.txt")}}) {
    SCOPED_TRACE(args.front());
    e2e::RunOptions options;
    options.args = args;
    options.argv0 = "plandrex-import";
    const e2e::ProcessResult built = e2e::runProgram(PLANDREX_IMPORT_BINARY, options);
    const e2e::ProcessResult copy = e2e::runProgram(installed("bin/plandrex-import"), options);
    EXPECT_TRUE(built.exitedWith(0)) << built;
    EXPECT_EQ(copy.out, built.out);
    EXPECT_EQ(copy.err, built.err);
    EXPECT_EQ(copy.exitStatus, built.exitStatus);
  }
#else
  GTEST_SKIP() << "plandrex-import is not part of this build";
#endif
}

TEST_F(InstallTest, InstalledTableProgramRunsAsTheBuiltOne) {
#ifdef PLANDREX_TABLE_BINARY
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--version"}, {"report", "--json", kExample1, kExample2, kExample3}}) {
    SCOPED_TRACE(args.front());
    e2e::RunOptions options;
    options.args = args;
    options.argv0 = "plandrex-table";
    const e2e::ProcessResult built = e2e::runProgram(PLANDREX_TABLE_BINARY, options);
    const e2e::ProcessResult copy = e2e::runProgram(installed("bin/plandrex-table"), options);
    EXPECT_TRUE(built.exitedWith(0)) << built;
    EXPECT_EQ(copy.out, built.out);
    EXPECT_EQ(copy.err, built.err);
    EXPECT_EQ(copy.exitStatus, built.exitStatus);
  }
#else
  GTEST_SKIP() << "plandrex-table is not part of this build";
#endif
}

}  // namespace
