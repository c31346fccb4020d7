// plandrex-import on routing tables: several inputs read as one table, the
// counts, orientation from a relationship file and the misuses, byte for
// byte; then the real tables against the simple reference script, the MRT
// file through bgpdump, and the covering values as plandrex compares them.

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/temp_dir.h"
#include "tests/importer/compressed_bytes.h"
#include "tests/importer/importer_binary.h"
#include "tests/importer/shell_commands.h"

namespace importer_test {
namespace {

using e2e::StdinSource;

std::string route(const std::string& prefix, const std::string& path, const char* kind = "B") {
  return std::string("TABLE_DUMP2|1277971199|") + kind + "|202.249.2.20|4777|" + prefix + "|" +
         path + "|IGP|202.249.2.20|0|0||NAG||\n";
}

const std::string kFirstTable =
    route("10.0.0.0/24", "1 2 3") + route("10.0.1.0/24", "1 1 2 3") + route("2001:db8::/32", "1 2");
const std::string kSecondTable = route("10.0.0.0/16", "3 2 {5}") + route("20.0.0.0/8", "4 2 1 4") +
                                 route("20.0.0.0/8", "4 2", "W") + route("30.0.0.0/8", "2 3.0 3");

// The counts block; classic: of plandrex-import --classic, else with the count of AS numbers
// above 65535 after the nodes.
std::string counts(const std::vector<unsigned long long>& n, bool classic) {
  std::vector<std::string> labels = {"lines",
                                     "comment and empty lines",
                                     "table entries",
                                     "other lines skipped",
                                     "IPv6 routes skipped",
                                     "routes skipped (no IPv4 prefix or no AS path)",
                                     "routes skipped (AS path token not an AS number)",
                                     "routes skipped (AS path loop)",
                                     "routes kept",
                                     "AS paths cut at an AS set",
                                     "distinct AS paths",
                                     "AS pairs dropped (AS number outside 1-65535)",
                                     "nodes",
                                     "AS numbers above 65535 kept",
                                     "adjacencies",
                                     "peering adjacencies",
                                     "directed adjacencies",
                                     "unoriented adjacencies"};
  if (classic) {
    labels.erase(labels.begin() + 13);
  } else {
    labels[11] = "AS pairs dropped (AS number outside 1-4294967295)";
  }
  std::string text = "format: bgpdump\n";
  for (std::size_t i = 0; i < n.size(); ++i) {
    text += labels[i] + ": " + std::to_string(n[i]) + "\n";
  }
  return text;
}

TEST(RoutingTableImportTest, SeveralInputsAreOneTable) {
  e2e::TempDir dir;
  ASSERT_TRUE(dir.write("a.txt", "# collector one\n" + kFirstTable));
  ASSERT_TRUE(dir.write("rel.txt", "1|2|-1\n3|2|0\n2|4|-1\n"));
  // The second table comes compressed through standard input.
  const e2e::ProcessResult plain =
      runImporter({"a.txt", "-"}, dir.path(), StdinSource::bytes(gzipped(kSecondTable)));
  EXPECT_TRUE(plain.exitedWith(0)) << plain;
  // 3.0 is AS 196608: kept, so the graph is a wide one.
  EXPECT_EQ(plain.out,
            "ZNG32\n2\na.txt\n-\n\n4\n4\n1\n2\n3\n196608\n"
            "1 2 0 0 1 512 0 0\n"
            "2 3 0 0 1 512 1 65536\n"
            "2 196608 0 0 1 16777216 0 0\n"
            "3 196608 0 0 0 0 1 16777216\n");
  EXPECT_EQ(plain.err, counts({8, 1, 6, 1, 1, 0, 0, 1, 4, 1, 3, 0, 4, 1, 4, 0, 0, 4}, false));

  ASSERT_TRUE(dir.write("b.txt.bz2", bzipped(kSecondTable)));
  const e2e::ProcessResult oriented =
      runImporter({"--classic", "--relationships", "rel.txt", "a.txt", "b.txt.bz2", "-o", "out.zng",
                   "--description", "d"},
                  dir.path());
  EXPECT_TRUE(oriented.exitedWith(0)) << oriented;
  EXPECT_EQ(oriented.out, "");
  EXPECT_EQ(dir.read("out.zng"),
            "ZNG\n2\na.txt\nb.txt.bz2\nd\n3\n2\n1\n2\n3\n"
            "1 2 1 1 1 512 0 0\n"
            "2 3 1 0 1 512 1 65536\n");
  EXPECT_EQ(oriented.err, counts({8, 1, 6, 1, 1, 0, 0, 1, 4, 1, 3, 2, 3, 2, 1, 1, 0}, true));

  // Feeding the same table twice changes no covering value.
  ASSERT_TRUE(dir.write("b.txt", kSecondTable));
  const e2e::ProcessResult twice =
      runImporter({"--quiet", "--classic", "--description", "", "b.txt", "b.txt"}, dir.path());
  EXPECT_TRUE(twice.exitedWith(0)) << twice;
  EXPECT_EQ(twice.out, "ZNG\n2\nb.txt\nb.txt\n\n2\n1\n2\n3\n2 3 0 0 0 0 1 65536\n");
}

TEST(RoutingTableImportTest, Misuses) {
  e2e::TempDir dir;
  ASSERT_TRUE(dir.write("a.txt", kFirstTable));
  ASSERT_TRUE(dir.write("rel.txt", "1|2|-1\n"));
  ASSERT_TRUE(dir.write("empty.txt", "# nothing\n"));
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string err;
  };
  const Case cases[] = {
      {{"rel.txt", "a.txt"},
       1,
       "Syntax error: several inputs are read as one routing table (format bgpdump) only, but "
       "`rel.txt' is in format serial-1\nType plandrex-import --help for more information\n"},
      {{"--relationships", "rel.txt", "rel.txt"},
       1,
       "Syntax error: --relationships orients routing tables (format bgpdump) only, but "
       "`rel.txt' is in format serial-1\nType plandrex-import --help for more information\n"},
      {{"a.txt", "rel.txt"},
       3,
       "rel.txt:1: line `1|2|-1' is not in the format of the inputs before (bgpdump)\n"},
      {{"a.txt", "empty.txt"}, 3, "empty.txt: no data lines (empty input)\n"},
      {{"a.txt", "missing.txt"},
       2,
       "Unable to open file `missing.txt'\n(No such file or directory)\n"},
      {{"--relationships", "missing.txt", "a.txt"},
       2,
       "Unable to open file `missing.txt'\n(No such file or directory)\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.front() + " " + c.args.back());
    const e2e::ProcessResult result = runImporter(c.args, dir.path());
    EXPECT_TRUE(result.exitedWith(c.status)) << result;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, c.err);
  }
  // A table in a forced format needs no detection of later inputs either.
  const e2e::ProcessResult forced =
      runImporter({"--quiet", "--format", "bgpdump", "a.txt", "empty.txt"}, dir.path());
  EXPECT_TRUE(forced.exitedWith(3)) << forced;
}

// ---- The real tables ------------------------------------------------------

const std::string kReference =
    std::string(PLANDREX_SOURCE_DIR) + "/tests/importer/rib_reference.py";

struct RealTable {
  const char* name;
  const char* table;          // in ../shared/data/rib
  const char* relationships;  // in ../shared/data/raw
};

class RealRoutingTableTest : public ::testing::TestWithParam<RealTable> {
 protected:
  void SetUp() override {
    if (!exists(kDataDir + "/rib")) {
      GTEST_SKIP() << "no real data: " << kDataDir << "/rib is absent";
    }
    if (!haveCommand("python3")) {
      GTEST_SKIP() << "python3 is not installed (the reference script needs it)";
    }
  }
};

TEST_P(RealRoutingTableTest, MatchesTheReferenceByteForByte) {
  const std::string table = kDataDir + "/rib/" + GetParam().table;
  const std::string relationships = kDataDir + "/raw/" + GetParam().relationships;
  e2e::TempDir dir;
  for (const int run : {0, 1, 2}) {
    const bool oriented = run != 0;
    const bool classic = run == 2;
    SCOPED_TRACE(oriented ? (classic ? "classic, with relationships" : "with relationships")
                          : "unoriented");
    std::vector<std::string> args = {"--quiet", "-o", "graph.zng", table};
    std::string referenceArgs = "'" + table + "'";
    if (oriented) {
      args.insert(args.begin(), {"--relationships", relationships});
      referenceArgs = "--relationships '" + relationships + "' " + referenceArgs;
    }
    if (classic) {
      args.insert(args.begin(), {"--classic", "--description", ""});
      referenceArgs = "--classic " + referenceArgs;
    }
    const e2e::ProcessResult converted = runImporterSlowly(args, dir.path());
    ASSERT_TRUE(converted.exitedWith(0)) << converted;
    const e2e::ProcessResult reference =
        shell("python3 '" + kReference + "' " + referenceArgs + " > reference.zng", dir.path());
    ASSERT_TRUE(reference.exitedWith(0)) << reference;
    const std::string graph = dir.read("graph.zng");
    ASSERT_GT(graph.size(), 100000u);
    // Not EXPECT_EQ: a difference in a megabyte file is best seen with diff.
    EXPECT_TRUE(graph == dir.read("reference.zng"))
        << "diff " << dir.file("graph.zng") << " " << dir.file("reference.zng");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, RealRoutingTableTest,
    ::testing::Values(RealTable{"Table2002", "bview.20020722.2337.txt.gz", "as-caida20040105.txt"},
                      RealTable{"Table2010", "bview.20100701.0759.txt.gz",
                                "20100101.as-rel.txt.bz2"}),
    [](const ::testing::TestParamInfo<RealTable>& info) { return std::string(info.param.name); });

TEST(RealRoutingTableTest, MrtFileThroughBgpdumpGivesTheSameGraph) {
  if (!exists(kDataDir + "/rib")) {
    GTEST_SKIP() << "no real data: " << kDataDir << "/rib is absent";
  }
  if (!haveCommand("bgpdump")) {
    GTEST_SKIP() << "bgpdump is not installed";
  }
  e2e::TempDir dir;
  const e2e::ProcessResult dumped =
      shell("bgpdump -m '" + kDataDir + "/rib/bview.20020722.2337.gz' > table.txt", dir.path());
  ASSERT_TRUE(dumped.exitedWith(0)) << dumped;
  const e2e::ProcessResult fromMrt =
      runImporterSlowly({"--source-name", "t", "-o", "mrt.zng", "table.txt"}, dir.path());
  ASSERT_TRUE(fromMrt.exitedWith(0)) << fromMrt;
  EXPECT_NE(fromMrt.err.find("\ntable entries: 115521\n"), std::string::npos) << fromMrt.err;
  const e2e::ProcessResult fromText =
      runImporterSlowly({"--quiet", "--source-name", "t", "-o", "text.zng",
                         kDataDir + "/rib/bview.20020722.2337.txt.gz"},
                        dir.path());
  ASSERT_TRUE(fromText.exitedWith(0)) << fromText;
  EXPECT_TRUE(dir.read("mrt.zng") == dir.read("text.zng"));
}

// Edge lines of a plain or differential graph file by (first AS, second AS).
std::map<std::pair<int, int>, std::vector<unsigned long long>> edgeColumns(
    const std::string& text) {
  std::map<std::pair<int, int>, std::vector<unsigned long long>> edges;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::vector<unsigned long long> columns;
    std::string word;
    bool numeric = true;
    while (words >> word) {
      // Directions are read modulo 2^64 and the stability as 0: only equality matters here.
      char* end = nullptr;
      columns.push_back(std::strtoull(word.c_str(), &end, 10));
      numeric = numeric && (*end == '\0' || *end == '.');
    }
    if (numeric && columns.size() >= 8) {
      edges[{static_cast<int>(columns[0]), static_cast<int>(columns[1])}] = columns;
    }
  }
  return edges;
}

TEST(RealRoutingTableTest, CoveringValuesReachTheComparison) {
  if (!exists(kDataDir + "/rib")) {
    GTEST_SKIP() << "no real data: " << kDataDir << "/rib is absent";
  }
  e2e::TempDir dir;
  const std::pair<const char*, const char*> tables[] = {
      {"bview.20020722.2337.txt.gz", "first.zng"}, {"bview.20100701.0759.txt.gz", "second.zng"}};
  for (const auto& table : tables) {
    const e2e::ProcessResult converted = runImporterSlowly(
        {"--quiet", "-o", table.second, kDataDir + "/rib/" + table.first}, dir.path());
    ASSERT_TRUE(converted.exitedWith(0)) << converted;
  }
  e2e::RunOptions options;
  options.args = {"-f", "-o", "over.znd", "--over:w", "first.zng", "second.zng"};
  options.workDir = dir.path();
  options.timeoutSeconds = 300;
  const e2e::ProcessResult compared = e2e::runProgram(PLANDREX_BINARY, options);
  ASSERT_TRUE(compared.exitedWith(0)) << compared;

  // w: the common adjacencies whose covering values seen from the smaller AS
  // differ; the overlap carries both graphs' values on both sides.
  const auto first = edgeColumns(dir.read("first.zng"));
  const auto second = edgeColumns(dir.read("second.zng"));
  const auto overlap = edgeColumns(dir.read("over.znd"));
  std::size_t common = 0;
  std::size_t differing = 0;
  for (const auto& edge : first) {
    auto other = second.find(edge.first);
    if (other == second.end()) {
      continue;
    }
    ++common;
    const std::vector<unsigned long long>& a = edge.second;
    const std::vector<unsigned long long>& b = other->second;
    const bool differs = a[4] != b[4] || a[5] != b[5];
    auto written = overlap.find(edge.first);
    ASSERT_EQ(written != overlap.end(), differs) << edge.first.first << " " << edge.first.second;
    if (!differs) {
      continue;
    }
    ++differing;
    const std::vector<unsigned long long>& o = written->second;
    ASSERT_EQ(o.size(), 23u);
    EXPECT_EQ(std::vector<unsigned long long>(o.begin() + 4, o.begin() + 8),
              std::vector<unsigned long long>(a.begin() + 4, a.begin() + 8));
    EXPECT_EQ(std::vector<unsigned long long>(o.begin() + 12, o.begin() + 16),
              std::vector<unsigned long long>(b.begin() + 4, b.begin() + 8));
  }
  EXPECT_EQ(overlap.size(), differing);
  // Eight years apart, most common adjacencies are covered differently.
  EXPECT_GT(common, 1000u);
  EXPECT_GT(differing, common / 2);
}

}  // namespace
}  // namespace importer_test
