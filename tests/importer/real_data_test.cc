// Every raw file of the shared real data converts to its graph file byte for
// byte, with the counts its statistics file records.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <map>
#include <ostream>
#include <regex>
#include <sstream>
#include <string>

#include "tests/e2e/temp_dir.h"
#include "tests/importer/importer_binary.h"

namespace importer_test {
namespace {

const std::string kDataDir = std::string(PLANDREX_SOURCE_DIR) + "/../shared/data";

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The flat "key": number pairs of a statistics file.
std::map<std::string, unsigned long long> statistics(const std::string& path) {
  std::map<std::string, unsigned long long> values;
  const std::string text = fileBytes(path);
  const std::regex pair("\"([a-z_]+)\": ([0-9]+)");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), pair); it != std::sregex_iterator();
       ++it) {
    values[(*it)[1]] = std::stoull((*it)[2]);
  }
  return values;
}

// The value after "label: " in the counts.
unsigned long long countOf(const std::string& counts, const std::string& label) {
  const std::size_t at = counts.find("\n" + label + ": ");
  if (at == std::string::npos) {
    ADD_FAILURE() << "no count " << label;
    return ~0ULL;
  }
  return std::stoull(counts.substr(at + label.size() + 3));
}

struct RealFile {
  const char* raw;
  const char* graph;  // the .zng beside raw/, and its stats/<name>.json
  bool keepSelfLoops;
  // The classic file drops adjacencies: made with --classic --description ''. The others are
  // what the default options give, as they hold no AS number above 65535.
  bool classic;
};

// Test names and messages show the raw file rather than the record's bytes.
void PrintTo(const RealFile& file, std::ostream* os) { *os << file.raw; }

class RealDataTest : public ::testing::TestWithParam<RealFile> {
 protected:
  void SetUp() override {
    struct stat info;
    if (stat((kDataDir + "/raw").c_str(), &info) != 0) {
      GTEST_SKIP() << "real data not found at " << kDataDir;
    }
  }
};

TEST_P(RealDataTest, ConvertsToItsGraphFile) {
  const RealFile& file = GetParam();
  e2e::TempDir dir;
  std::vector<std::string> args = {"-o", "out.zng", kDataDir + "/raw/" + file.raw};
  if (file.keepSelfLoops) {
    args.insert(args.begin(), "--keep-self-loops");
  }
  if (file.classic) {
    args.insert(args.begin(), {"--classic", "--description", ""});
  }
  const e2e::ProcessResult result = runImporterSlowly(args, dir.path());
  ASSERT_TRUE(result.exitedWith(0)) << result;
  const std::string expected = fileBytes(kDataDir + "/" + file.graph + ".zng");
  ASSERT_FALSE(expected.empty());
  EXPECT_TRUE(dir.read("out.zng") == expected) << "differs from " << file.graph << ".zng";

  const std::string counts = "\n" + result.err;
  auto stats = statistics(kDataDir + "/stats/" + file.graph + ".json");
  ASSERT_FALSE(stats.empty());
  const std::string range = file.classic ? "65535" : "4294967295";
  const std::string droppedLinks = "links dropped (AS number outside 1-" + range + ")";
  const std::string droppedNumbers = "AS numbers outside 1-" + range;
  const std::pair<const char*, const char*> same[] = {
      {"lines", "lines"},
      {"comment and empty lines", "comment_or_blank_lines"},
      {"link lines", "link_lines"},
      {droppedLinks.c_str(), "link_lines_dropped_out_of_range"},
      {droppedNumbers.c_str(), "nodes_dropped"},
      {"self-loops dropped", "self_loop_lines_dropped"},
      {"duplicate links merged", "duplicate_lines_merged"},
      {"conflicting adjacencies made unoriented", "conflicting_adjacencies_made_unoriented"},
      {"nodes", "nodes_after"},
      {"isolated nodes", "isolated_nodes_after"},
      {"adjacencies", "edges_after"},
      {"peering adjacencies", "peering_after"},
      {"directed adjacencies", "directed_after"},
      {"unoriented adjacencies", "unoriented_after"},
      {"self-loops kept", "self_loops_kept"},
  };
  for (const auto& [label, key] : same) {
    ASSERT_EQ(stats.count(key), 1u) << key;
    EXPECT_EQ(countOf(counts, label), stats[key]) << label;
  }
}

INSTANTIATE_TEST_SUITE_P(
    SharedData, RealDataTest,
    ::testing::Values(RealFile{"20040101.as-rel.txt.bz2", "caida-s1-20040101", false, false},
                      RealFile{"20100101.as-rel.txt.bz2", "caida-s1-20100101", false, true},
                      RealFile{"20160101.as-rel.txt.bz2", "caida-s1-20160101", false, true},
                      RealFile{"20200101.as-rel.txt.bz2", "caida-s1-20200101", false, true},
                      RealFile{"20240701.as-rel.txt.bz2", "caida-s1-20240701", false, true},
                      RealFile{"20240801.as-rel.txt.bz2", "caida-s1-20240801", false, true},
                      RealFile{"20240801.as-rel2.txt.bz2", "caida-s2-20240801", false, true},
                      RealFile{"as-caida20040105.txt", "snap-caida-20040105", false, false},
                      RealFile{"as-caida20050307.txt", "snap-caida-20050307", false, false},
                      RealFile{"as19980201.txt", "snap-as733-19980201", true, false},
                      RealFile{"as19980202.txt", "snap-as733-19980202", true, false}),
    [](const ::testing::TestParamInfo<RealFile>& info) {
      std::string name = info.param.graph;
      for (char& c : name) {
        if (c == '-') {
          c = '_';
        }
      }
      return name;
    });

// With the default options every AS number stays: the wide files of the shared data, which an
// independent converter made.
TEST(RealDataWideTest, DefaultOptionsKeepEveryASNumber) {
  struct stat info;
  if (stat((kDataDir + "/wide").c_str(), &info) != 0) {
    GTEST_SKIP() << "wide real data not found at " << kDataDir;
  }
  const std::pair<const char*, const char*> files[] = {
      {"20100101.as-rel.txt.bz2", "caida-s1-20100101"},
      {"20240801.as-rel.txt.bz2", "caida-s1-20240801"},
      {"20240801.as-rel2.txt.bz2", "caida-s2-20240801"},
  };
  for (const auto& [raw, graph] : files) {
    SCOPED_TRACE(raw);
    e2e::TempDir dir;
    const e2e::ProcessResult result =
        runImporterSlowly({"-o", "out.zng", kDataDir + "/raw/" + raw}, dir.path());
    ASSERT_TRUE(result.exitedWith(0)) << result;
    EXPECT_TRUE(dir.read("out.zng") == fileBytes(kDataDir + "/wide/" + graph + ".zng"));
  }
}

// --classic without --description says in the file what it left out.
TEST(RealDataWideTest, ClassicFileRecordsItsLoss) {
  struct stat info;
  if (stat((kDataDir + "/raw").c_str(), &info) != 0) {
    GTEST_SKIP() << "real data not found at " << kDataDir;
  }
  e2e::TempDir dir;
  const e2e::ProcessResult result = runImporterSlowly(
      {"--classic", "--quiet", "-o", "out.zng", kDataDir + "/raw/20240801.as-rel.txt.bz2"},
      dir.path());
  ASSERT_TRUE(result.exitedWith(0)) << result;
  std::string expected = fileBytes(kDataDir + "/caida-s1-20240801.zng");
  const std::string names = "ZNG\n1\n20240801.as-rel.txt.bz2\n";
  ASSERT_EQ(expected.compare(0, names.size(), names), 0);
  expected.insert(names.size(),
                  "classic format: 212433 of 496677 adjacencies dropped (AS numbers above 65535)");
  EXPECT_TRUE(dir.read("out.zng") == expected);
}

// Standard input, compressed: the same graph once the source name is given.
TEST(RealDataStdinTest, CompressedStandardInput) {
  struct stat info;
  if (stat((kDataDir + "/raw").c_str(), &info) != 0) {
    GTEST_SKIP() << "real data not found at " << kDataDir;
  }
  e2e::TempDir dir;
  const e2e::ProcessResult result =
      runImporter({"--quiet", "--source-name", "20040101.as-rel.txt.bz2", "-"}, dir.path(),
                  e2e::StdinSource::file(kDataDir + "/raw/20040101.as-rel.txt.bz2"));
  ASSERT_TRUE(result.exitedWith(0)) << result;
  EXPECT_TRUE(result.out == fileBytes(kDataDir + "/caida-s1-20040101.zng"));
  EXPECT_EQ(result.err, "");
}

}  // namespace
}  // namespace importer_test
