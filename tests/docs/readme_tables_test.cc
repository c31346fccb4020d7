// README's "Tables and plots" block is run as a reader runs it: from the top of a clone whose
// build/ holds the programs (here links to the programs under test), with ../shared beside it.
// It must succeed, answer the questions it asks in a few readable lines, and leave the clone as
// it was.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "tests/e2e/process_runner.h"
#include "tests/e2e/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSource = PLANDREX_SOURCE_DIR;

// The first ```sh block after the heading; empty when there is none.
std::string shellBlock(const std::string& readme, const std::string& heading) {
  const std::size_t section = readme.find("\n" + heading + "\n");
  if (section == std::string::npos) {
    return std::string();
  }
  const std::string open = "\n```sh\n";
  const std::size_t start = readme.find(open, section);
  const std::size_t end = readme.find("\n```\n", start + 1);
  if (start == std::string::npos || end == std::string::npos) {
    return std::string();
  }
  return readme.substr(start + open.size(), end - start - open.size() + 1);
}

std::set<std::string> treeOf(const fs::path& root) {
  std::set<std::string> names;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    names.insert(fs::relative(entry.path(), root).string());
  }
  return names;
}

// A PATH under which python3 has pandas: as it is, or with Debian's python3 first when another
// python3 earlier in PATH hides Debian's pandas. Empty when neither has it.
std::string pathWithPandas() {
  const char* path = std::getenv("PATH");
  const std::string current = path != nullptr ? path : "/usr/bin:/bin";
  if (std::system("python3 -c 'import pandas' >/dev/null 2>&1") == 0) {
    return current;
  }
  if (std::system("/usr/bin/python3 -c 'import pandas' >/dev/null 2>&1") == 0) {
    return "/usr/bin:" + current;
  }
  return std::string();
}

TEST(ReadmeTablesTest, TheBlockRunsFromACloneAndLeavesNothingThere) {
  const fs::path shared = kSource / ".." / "shared";
  if (!fs::exists(shared / "data" / "wide" / "caida-s1-20240801.zng")) {
    GTEST_SKIP() << "the shared real data (" << shared.string() << "/data) is not here";
  }
  const std::string path = pathWithPandas();
  if (path.empty()) {
    GTEST_SKIP() << "pandas is not installed for python3 (Debian: python3-pandas)";
  }
  std::ifstream readme(kSource / "README.md");
  const std::string block = shellBlock(
      std::string(std::istreambuf_iterator<char>(readme), std::istreambuf_iterator<char>()),
      "## Tables and plots");
  ASSERT_FALSE(block.empty()) << "no sh block under \"## Tables and plots\"";

  e2e::TempDir dir;
  const fs::path top = dir.path();
  const fs::path clone = top / "clone";
  const std::pair<const char*, const char*> programs[] = {
      {"build/plandrex/plandrex", PLANDREX_BINARY},
      {"build/table/plandrex-table", TABLE_BINARY},
      {"build/importer/plandrex-import", IMPORT_BINARY},
  };
  for (const auto& [name, binary] : programs) {
    fs::create_directories((clone / name).parent_path());
    fs::create_symlink(binary, clone / name);
  }
  fs::create_symlink(fs::canonical(shared), top / "shared");
  fs::create_directories(top / "tmp");
  ASSERT_TRUE(dir.write("block.sh", block));
  const std::set<std::string> before = treeOf(clone);

  e2e::RunOptions options;
  // The block's own temporary directory goes where this test removes it.
  options.args = {
      "-c", "export TMPDIR=\"$1/tmp\" PATH=\"$2\" && cd \"$1/clone\" && bash -e \"$1/block.sh\"",
      "readme", top.string(), path};
  options.timeoutSeconds = 600;
  const e2e::ProcessResult result = e2e::runProgram("/bin/bash", options);
  ASSERT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.err, "");
  // The answers, short enough to read: a line per graph, the AS that gained most links in the
  // last month, and the adjacencies' history in one line; then an edge row and a count.
  EXPECT_NE(result.out.find("      date  ases  edges\n2004-01-01 16565  38943\n"),
            std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("most new links 2024-07-01 to 2024-08-01: AS 137409 (+2,930)\n"),
            std::string::npos)
      << result.out;
  std::size_t lines = 0;
  for (char c : result.out) {
    lines += c == '\n' ? 1 : 0;
  }
  EXPECT_LE(lines, 12u) << result.out;
  EXPECT_EQ(treeOf(clone), before) << "the block left files in the clone";
}

}  // namespace
