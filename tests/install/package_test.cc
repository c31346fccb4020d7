// The Debian package: its name, version and dependencies, its contents, and the programs in it
// working once unpacked.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e/plandrex_binary.h"
#include "tests/e2e/temp_dir.h"

namespace {

namespace fs = std::filesystem;

e2e::ProcessResult runTool(const std::string& program, const std::vector<std::string>& args) {
  e2e::RunOptions options;
  options.args = args;
  options.timeoutSeconds = 300;
  return e2e::runProgram(program, options);
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class PackageTest : public testing::Test {
 protected:
  // One package for the whole suite: making it is the slow part.
  static void SetUpTestSuite() {
#ifndef PLANDREX_SANITIZED
    work_ = new e2e::TempDir();
    packRun_ = new e2e::ProcessResult(runTool(
        CPACK_PROGRAM, {"--config", PROJECT_BINARY_DIR "/CPackConfig.cmake", "-B", work_->path()}));
    for (const fs::directory_entry& entry : fs::directory_iterator(work_->path())) {
      if (entry.path().extension() == ".deb") {
        package_ = new std::string(entry.path().string());
      }
    }
#endif
  }
  static void TearDownTestSuite() {
    delete package_;
    delete packRun_;
    delete work_;
    package_ = nullptr;
    packRun_ = nullptr;
    work_ = nullptr;
  }
  void SetUp() override {
#ifdef PLANDREX_SANITIZED
    GTEST_SKIP() << "a sanitized build's package would depend on the sanitizer runtimes; the "
                    "plain build checks the package";
#else
    ASSERT_TRUE(packRun_->exitedWith(0)) << *packRun_;
    ASSERT_NE(package_, nullptr) << "no .deb in " << work_->path();
#endif
  }

  static std::string field(const std::string& name) {
    const e2e::ProcessResult result = runTool(DPKG_DEB_PROGRAM, {"--field", *package_, name});
    EXPECT_TRUE(result.exitedWith(0)) << result;
    return result.out;
  }

  static e2e::TempDir* work_;
  static e2e::ProcessResult* packRun_;
  static std::string* package_;
};

e2e::TempDir* PackageTest::work_ = nullptr;
e2e::ProcessResult* PackageTest::packRun_ = nullptr;
std::string* PackageTest::package_ = nullptr;

// The control fields: name and version from the build, and dependencies read from the libraries
// the programs load, so a program that starts using a library brings its package in; the importer
// needs the two compression libraries.
TEST_F(PackageTest, ControlFieldsGiveNameVersionAndDependencies) {
  EXPECT_EQ(field("Package"), "plandrex\n");
  EXPECT_EQ(field("Version"), PLANDREX_VERSION_TEXT "\n");
  EXPECT_EQ(fs::path(*package_).filename().string().rfind("plandrex_" PLANDREX_VERSION_TEXT "_", 0),
            0u);

  const std::string depends = field("Depends");
  EXPECT_TRUE(contains(depends, "libc6")) << depends;
  EXPECT_TRUE(contains(depends, "libstdc++6")) << depends;
  EXPECT_FALSE(contains(depends, "libasan")) << depends;
#ifdef PLANDREX_IMPORT_BINARY
  EXPECT_TRUE(contains(depends, "zlib1g")) << depends;
  EXPECT_TRUE(contains(depends, "libbz2-1.0")) << depends;
#endif
}

TEST_F(PackageTest, HoldsTheProgramsPagesAndDocumentsAndTheProgramsRunUnpacked) {
  const e2e::ProcessResult listing = runTool(DPKG_DEB_PROGRAM, {"--contents", *package_});
  ASSERT_TRUE(listing.exitedWith(0)) << listing;
  std::vector<std::string> expected = {
      "./usr/bin/plandrex",
      "./usr/share/man/man1/plandrex.1.gz",
      "./usr/share/man/man1/plandrex-import.1.gz",
      "./usr/share/man/man1/plandrex-table.1.gz",
      "./usr/share/man/man5/plandrex-graph.5.gz",
      "./usr/share/doc/plandrex/README.md",
      "./usr/share/doc/plandrex/NOTICE.md",
      "./usr/share/doc/plandrex/copyright",
  };
#ifdef PLANDREX_IMPORT_BINARY
  expected.push_back("./usr/bin/plandrex-import");
#endif
#ifdef PLANDREX_TABLE_BINARY
  expected.push_back("./usr/bin/plandrex-table");
#endif
  for (const std::string& path : expected) {
    EXPECT_TRUE(contains(listing.out, " " + path + "\n")) << path << " missing:\n" << listing.out;
  }

  e2e::TempDir root;
  const e2e::ProcessResult unpack =
      runTool(DPKG_DEB_PROGRAM, {"--extract", *package_, root.path()});
  ASSERT_TRUE(unpack.exitedWith(0)) << unpack;
  const std::vector<std::string> args = {PLANDREX_SOURCE_DIR "/examples/as-snapshot-1.zng",
                                         PLANDREX_SOURCE_DIR "/examples/as-snapshot-2.zng"};
  const e2e::ProcessResult unpacked = runTool(root.file("usr/bin/plandrex"), args);
  const e2e::ProcessResult built = e2e::runPlandrex(args);
  EXPECT_TRUE(unpacked.exitedWith(0)) << unpacked;
  EXPECT_EQ(unpacked.out, built.out);
#ifdef PLANDREX_IMPORT_BINARY
  const e2e::ProcessResult version = runTool(root.file("usr/bin/plandrex-import"), {"--version"});
  EXPECT_TRUE(version.exitedWith(0)) << version;
  EXPECT_EQ(version.out, "plandrex-import " PLANDREX_VERSION_TEXT "\n");
#endif
#ifdef PLANDREX_TABLE_BINARY
  const e2e::ProcessResult tableVersion =
      runTool(root.file("usr/bin/plandrex-table"), {"--version"});
  EXPECT_TRUE(tableVersion.exitedWith(0)) << tableVersion;
  EXPECT_EQ(tableVersion.out, "plandrex-table " PLANDREX_VERSION_TEXT "\n");
#endif
}

// Debian's checker finds nothing but the two tags kept on purpose: the
// maintainer has no mail address to give (PLANDREX_PACKAGE_MAINTAINER sets
// one), and without one there is no Debian changelog to sign.
TEST_F(PackageTest, LintianFindsOnlyTheTagsKept) {
  if (std::string(LINTIAN_PROGRAM).empty() ||
      std::string(LINTIAN_PROGRAM).find("NOTFOUND") != std::string::npos) {
    GTEST_SKIP() << "lintian is not installed";
  }
  const e2e::ProcessResult result = runTool(LINTIAN_PROGRAM, {"--allow-root", *package_});
  std::string tags;
  std::size_t start = 0;
  while (start < result.out.size()) {
    const std::size_t end = result.out.find('\n', start);
    const std::string line = result.out.substr(start, end - start);
    start = end == std::string::npos ? result.out.size() : end + 1;
    if (line.rfind("E: ", 0) == 0 || line.rfind("W: ", 0) == 0 || line.rfind("I: ", 0) == 0) {
      const std::size_t tag = line.find(": ", 3);
      tags += line.substr(tag + 2, line.find(' ', tag + 2) - tag - 2) + "\n";
    }
  }
  EXPECT_EQ(tags, "malformed-contact\nno-changelog\n") << result;
}

}  // namespace
