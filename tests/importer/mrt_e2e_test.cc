// plandrex-import on MRT input. The main check: every MRT file of the shared
// data gives the graph (and the route counts) that the text `bgpdump -m`
// prints of it gives, with and without --announcements and --relationships.
// Then the record-level cases the files do not reach, built here: AS4_PATH
// merged into 2-byte paths, AS_TRANS, confederations, MRT mixed with text,
// and damaged records.

#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/temp_dir.h"
#include "tests/importer/compressed_bytes.h"
#include "tests/importer/importer_binary.h"
#include "tests/importer/mrt_records.h"
#include "tests/importer/shell_commands.h"

namespace importer_test {
namespace {

using namespace mrt_records;

bool haveBgpdump() { return haveCommand("bgpdump"); }

// The route counts of a run: standard error without the lines that tell the
// input apart (format, line counts, MRT record counts).
std::string routeCounts(const std::string& err) {
  std::istringstream lines(err);
  std::string line;
  std::string kept;
  while (std::getline(lines, line)) {
    if (line.rfind("format:", 0) != 0 && line.rfind("lines:", 0) != 0 &&
        line.rfind("comment and empty lines:", 0) != 0 && line.rfind("MRT ", 0) != 0) {
      kept += line + "\n";
    }
  }
  return kept;
}

// The MRT files of the shared data: rib/ and rib/samples/, the text forms and
// the 16-fold table (which has a test of its own) left out.
std::vector<std::string> sharedMrtFiles() {
  std::vector<std::string> files;
  for (const std::string folder : {"/rib", "/rib/samples"}) {
    DIR* dir = opendir((kDataDir + folder).c_str());
    if (dir == nullptr) {
      continue;
    }
    while (const dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name.size() > 3 && name.compare(name.size() - 3, 3, ".gz") == 0 &&
          name.find(".txt.") == std::string::npos && name.find(".x16.") == std::string::npos) {
        files.push_back(kDataDir + folder + "/" + name);
      }
    }
    closedir(dir);
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(RealMrtTest, EveryFileGivesTheGraphOfItsBgpdumpText) {
  if (!exists(kDataDir + "/rib")) {
    GTEST_SKIP() << "no real data: " << kDataDir << "/rib is absent";
  }
  if (!haveBgpdump()) {
    GTEST_SKIP() << "bgpdump is not installed (the Debian package bgpdump is the reference)";
  }
  const std::vector<std::string> files = sharedMrtFiles();
  ASSERT_GE(files.size(), 13u) << "the shared MRT files are incomplete";
  const std::string relationships = kDataDir + "/raw/20100101.as-rel.txt.bz2";
  e2e::TempDir dir;
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    const e2e::ProcessResult dumped = shell("bgpdump -m '" + file + "' > table.txt", dir.path());
    ASSERT_TRUE(dumped.exitedWith(0)) << dumped;
    for (const int run : {0, 1, 2, 3}) {
      std::vector<std::string> options = {"--source-name", "table"};
      if (run & 1) {
        options.push_back("--announcements");
      }
      if (run & 2) {
        options.insert(options.end(), {"--relationships", relationships});
      }
      SCOPED_TRACE(std::string(run & 1 ? "announcements" : "table entries") +
                   (run & 2 ? ", relationships" : ""));
      std::vector<std::string> fromMrt = options;
      fromMrt.insert(fromMrt.end(), {"-o", "mrt.zng", file});
      std::vector<std::string> fromText = options;
      fromText.insert(fromText.end(), {"-o", "text.zng", "table.txt"});
      const e2e::ProcessResult mrt = runImporterSlowly(fromMrt, dir.path());
      ASSERT_TRUE(mrt.exitedWith(0)) << mrt;
      const e2e::ProcessResult text = runImporterSlowly(fromText, dir.path());
      ASSERT_TRUE(text.exitedWith(0)) << text;
      EXPECT_TRUE(dir.read("mrt.zng") == dir.read("text.zng"))
          << "diff " << dir.file("mrt.zng") << " " << dir.file("text.zng");
      EXPECT_EQ(routeCounts(mrt.err), routeCounts(text.err));
      EXPECT_NE(mrt.err.find("\nMRT records skipped (type not read): 0\n"), std::string::npos)
          << mrt.err;
    }
  }
}

// The 16-fold table: the 1x graph, in memory bounded by the graph (checked by
// bench/mrt_bench.sh), and the graph of its text read through a pipe.
TEST(RealMrtTest, SixteenFoldTableThroughAPipe) {
  const std::string table = kDataDir + "/rib/rib.20100701.0759.x16.mrt.gz";
  if (!exists(table)) {
    GTEST_SKIP() << "no real data: " << table << " is absent";
  }
  if (!haveBgpdump()) {
    GTEST_SKIP() << "bgpdump is not installed (the Debian package bgpdump is the reference)";
  }
  e2e::TempDir dir;
  const e2e::ProcessResult mrt =
      runImporterSlowly({"--quiet", "--source-name", "t", "-o", "mrt.zng", table}, dir.path());
  ASSERT_TRUE(mrt.exitedWith(0)) << mrt;
  const e2e::ProcessResult text = shell("bgpdump -m '" + table + "' | '" + IMPORTER_BINARY +
                                            "' --quiet --source-name t -o text.zng -",
                                        dir.path());
  ASSERT_TRUE(text.exitedWith(0)) << text;
  EXPECT_TRUE(dir.read("mrt.zng") == dir.read("text.zng"));
}

// ---- Records built here -----------------------------------------------------

struct RecordCase {
  const char* name;
  std::string records;
  const char* line;  // what bgpdump -m prints for the route, from the peer AS field on
};

const std::string kAttributes = origin() + nextHop();

std::vector<RecordCase> recordCases() {
  const std::uint32_t net = 0x0A040000;  // 10.4.0.0
  const std::string aggregator = attribute(0xC0, 7, be(64512, 2) + be(0, 4));
  const std::string transAggregator = attribute(0xC0, 7, be(23456, 2) + be(0, 4));
  const std::string as4Aggregator = attribute(0xC0, 18, be(70000, 4) + be(0, 4));
  return {
      {"As4PathReplacesTheTrailingAsTrans",
       update(
           kAttributes + asPath({{2, {5, 23456, 23456, 7}}}, 2) + as4Path({{2, {70000, 80000, 7}}}),
           net, 16, 2),
       "A|10.0.0.1|100|10.4.0.0/16|5 70000 80000 7"},
      {"As4PathLongerThanTheAsPathIsIgnored",
       update(kAttributes + asPath({{2, {5, 23456}}}, 2) + as4Path({{2, {70000, 80000, 7}}}), net,
              16, 2),
       "A|10.0.0.1|100|10.4.0.0/16|5 23456"},
      {"ASetCountsOneInTheMerge",
       update(kAttributes + asPath({{2, {5, 23456}}, {1, {23456, 9}}}, 2) +
                  as4Path({{2, {70000}}, {1, {90000, 9}}}),
              net, 16, 2),
       "A|10.0.0.1|100|10.4.0.0/16|5 70000 {90000,9}"},
      {"As4PathOfAFourByteSessionIsIgnored",
       update(kAttributes + asPath({{2, {5, 23456}}}, 4) + as4Path({{2, {70000}}}), net, 16, 4),
       "A|10.0.0.1|100|10.4.0.0/16|5 23456"},
      {"AggregatorOtherThanAsTransVoidsTheAs4Path",
       update(kAttributes + asPath({{2, {5, 23456, 23456, 7}}}, 2) + aggregator + as4Aggregator +
                  as4Path({{2, {70000, 80000, 7}}}),
              net, 16, 2),
       "A|10.0.0.1|100|10.4.0.0/16|5 23456 23456 7"},
      {"AggregatorAsTransKeepsTheAs4Path",
       update(kAttributes + asPath({{2, {5, 23456, 23456, 7}}}, 2) + transAggregator +
                  as4Aggregator + as4Path({{2, {70000, 80000, 7}}}),
              net, 16, 2),
       "A|10.0.0.1|100|10.4.0.0/16|5 70000 80000 7"},
      {"TableDumpMergesTheAs4Path",
       tableDumpIPv4(net, 16,
                     kAttributes + asPath({{2, {300, 23456}}}, 2) + as4Path({{2, {300, 196608}}})),
       "B|10.0.0.1|100|10.4.0.0/16|300 196608"},
      {"ConfederationSequenceSkipsTheRoute",
       peerIndexTable(1) + ribIPv4(net, 16, {kAttributes + asPath({{2, {1}}, {3, {7, 8}}}, 4)}),
       "B|10.0.0.0|100|10.4.0.0/16|1 (7 8)"},
      {"ConfederationAfterASetIsCutAway",
       peerIndexTable(1) +
           ribIPv4(net, 16, {kAttributes + asPath({{2, {1, 2}}, {1, {3}}, {4, {7}}}, 4)}),
       "B|10.0.0.0|100|10.4.0.0/16|1 2 {3} [7]"},
      {"EmptySetCutsEmptySequenceVanishes",
       peerIndexTable(2) + ribIPv4(net, 16,
                                   {kAttributes + asPath({{2, {1}}, {2, {}}, {2, {2}}}, 4),
                                    kAttributes + asPath({{2, {1, 3}}, {1, {}}, {2, {9}}}, 4)}),
       "B|10.0.0.0|100|10.4.0.0/16|1 2\nTABLE_DUMP2|1000|B|10.0.0.1|101|10.4.0.0/16|1 3 {}9"},
      {"UnknownSegmentTypeSkipsTheRoute",
       peerIndexTable(1) + ribIPv4(net, 16, {kAttributes + asPath({{1, {5}}, {9, {5}}}, 4)}),
       "B|10.0.0.0|100|10.4.0.0/16|! Error !"},
      {"NoAsPathIsAnEmptyPath", peerIndexTable(1) + ribIPv4(0, 0, {kAttributes}),
       "B|10.0.0.0|100|0.0.0.0/0|"},
  };
}

// The text line of a record case: bgpdump's record name and time first.
std::string textOf(const RecordCase& c) {
  const std::string line = c.line;
  const std::string kind = c.records.compare(4, 2, be(16, 2)) == 0   ? "BGP4MP"
                           : c.records.compare(4, 2, be(12, 2)) == 0 ? "TABLE_DUMP"
                                                                     : "TABLE_DUMP2";
  return kind + "|1000|" + line + "|IGP|1.2.3.4|0|0||NAG||\n";
}

TEST(MrtRecordTest, RecordsGiveTheGraphOfTheirText) {
  const bool reference = haveBgpdump();
  e2e::TempDir dir;
  for (const RecordCase& c : recordCases()) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(dir.write("case.mrt", c.records));
    ASSERT_TRUE(dir.write("case.txt", textOf(c)));
    const e2e::ProcessResult mrt = runImporter(
        {"--announcements", "--source-name", "t", "-o", "mrt.zng", "case.mrt"}, dir.path());
    ASSERT_TRUE(mrt.exitedWith(0)) << mrt;
    const e2e::ProcessResult text = runImporter(
        {"--announcements", "--source-name", "t", "-o", "text.zng", "case.txt"}, dir.path());
    ASSERT_TRUE(text.exitedWith(0)) << text;
    EXPECT_EQ(dir.read("mrt.zng"), dir.read("text.zng"));
    EXPECT_EQ(routeCounts(mrt.err), routeCounts(text.err));
    if (reference) {
      // The expected line is bgpdump's own.
      const e2e::ProcessResult dumped = shell("bgpdump -m case.mrt 2>/dev/null", dir.path());
      std::string printed;
      std::istringstream lines(dumped.out);
      for (std::string line; std::getline(lines, line);) {
        const std::size_t from = line.find('|', line.find('|') + 1);
        const std::size_t to = line.find("|IGP|");
        printed += (printed.empty() ? "" : "\n") + line.substr(from + 1, to - from - 1);
      }
      const std::string expected = c.line;
      EXPECT_EQ(printed, expected.substr(0, expected.find('\n')) +
                             (expected.find('\n') == std::string::npos
                                  ? ""
                                  : "\n" + expected.substr(expected.find("|1000|") + 6)));
    }
  }
}

TEST(MrtRecordTest, MrtAndTextMixAndStandardInputIsRead) {
  e2e::TempDir dir;
  const std::string records =
      peerIndexTable(2) + ribIPv4(0x0A000000, 8,
                                  {kAttributes + asPath({{2, {1, 2, 3}}}, 4),
                                   kAttributes + asPath({{2, {4, 2, 3}}}, 4)});
  const std::string text =
      "TABLE_DUMP2|1000|B|10.0.0.0|100|10.0.0.0/8|1 2 3|IGP|1.2.3.4|0|0||NAG||\n"
      "TABLE_DUMP2|1000|B|10.0.0.1|101|10.0.0.0/8|4 2 3|IGP|1.2.3.4|0|0||NAG||\n";
  const std::string other = "TABLE_DUMP2|1000|B|10.0.0.1|101|20.0.0.0/8|5 2 3|IGP|x|0|0||NAG||\n";
  // The graph keeps the inputs' base names: the MRT and the text input are both "a".
  ASSERT_TRUE(shell("mkdir mrt text", dir.path()).exitedWith(0));
  ASSERT_TRUE(dir.write("mrt/a", bzipped(records)));
  ASSERT_TRUE(dir.write("text/a", text));
  ASSERT_TRUE(dir.write("b", other));
  const auto run = [&](std::vector<std::string> inputs, const std::string& output,
                       e2e::StdinSource input) {
    std::vector<std::string> args = {"--quiet", "-o", output};
    args.insert(args.end(), inputs.begin(), inputs.end());
    const e2e::ProcessResult result = runImporter(args, dir.path(), std::move(input));
    EXPECT_TRUE(result.exitedWith(0)) << result;
  };
  run({"text/a", "b"}, "text.zng", e2e::StdinSource::nullDevice());
  run({"mrt/a", "b"}, "mrt-first.zng", e2e::StdinSource::nullDevice());
  run({"b", "-"}, "text-stdin.zng", e2e::StdinSource::bytes(text));
  run({"b", "-"}, "mrt-stdin.zng", e2e::StdinSource::bytes(gzipped(records)));
  EXPECT_EQ(dir.read("mrt-first.zng"), dir.read("text.zng"));
  EXPECT_EQ(dir.read("mrt-stdin.zng"), dir.read("text-stdin.zng"));
  EXPECT_NE(dir.read("text.zng"), dir.read("text-stdin.zng"));
}

struct BadCase {
  const char* name;
  std::string bytes;
  const char* message;  // after "bad.mrt: "
};

std::vector<BadCase> badCases() {
  const std::string good = peerIndexTable(1);  // 33 bytes
  const std::string entry = kAttributes + asPath({{2, {1, 2}}}, 4);
  const std::string rib = ribIPv4(0x0A000000, 8, {entry});
  const std::string message = update(kAttributes + asPath({{2, {1, 2}}}, 2), 0x0A000000, 8, 2);
  std::string overrun = rib;
  overrun[overrun.size() - entry.size() + kAttributes.size() + 4] = 9;  // segment of 9 ASes
  std::string longAttribute = rib;
  longAttribute[longAttribute.size() - entry.size() + 2] = 60;  // ORIGIN of 60 bytes
  std::string wideFamily = message;
  wideFamily[12 + 7] = 3;  // address family 3
  std::string shortMessage = message;
  shortMessage[12 + 16 + 16] = 0;
  shortMessage[12 + 16 + 17] = 18;
  std::string longPrefix = rib;
  longPrefix[12 + 4] = 33;
  std::string farPeer = rib;
  farPeer[12 + 4 + 2 + 2 + 1] = 1;  // peer index 1 of 1 peer
  return {
      {"HeaderCut", good + good.substr(0, 7),
       "record 2 at byte 33: record header cut after 7 of 12 bytes"},
      {"BodyCut", good + rib.substr(0, rib.size() - 1),
       "record 2 at byte 33: record of 52 bytes cut after 51 bytes by the end of the input"},
      {"SegmentOverrun", good + overrun,
       "record 2 at byte 33: AS path segment of 9 AS numbers runs past the end of its attribute"},
      {"AttributeOverrun", good + longAttribute,
       "record 2 at byte 33: attribute 1 of 60 bytes runs past the end of the attributes"},
      {"UnknownFamily", wideFamily, "record 1 at byte 0: unknown address family 3"},
      {"ShortMessage", shortMessage, "record 1 at byte 0: BGP message length 18 under 19"},
      {"PrefixTooLong", good + longPrefix, "record 2 at byte 33: prefix length 33 over 32"},
      {"PeerBeyondTheTable", good + farPeer,
       "record 2 at byte 33: peer index 1 beyond the 1 peers of the peer index table"},
      {"NoPeerTable", rib, "record 1 at byte 0: RIB entry before any peer index table"},
      {"GzipCut", gzipped(good + rib).substr(0, 40),
       "record 2 at byte 33: truncated gzip data (the input ends inside the compressed stream)"},
  };
}

TEST(MrtRecordTest, BadRecordsStopTheRunAndWriteNothing) {
  e2e::TempDir dir;
  for (const BadCase& c : badCases()) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(dir.write("bad.mrt", c.bytes));
    const e2e::ProcessResult result =
        runImporter({"--format", "mrt", "-o", "out.zng", "bad.mrt"}, dir.path());
    EXPECT_TRUE(result.exitedWith(3)) << result;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, std::string("bad.mrt: ") + c.message + "\n");
    EXPECT_FALSE(dir.exists("out.zng"));
  }
}

}  // namespace
}  // namespace importer_test
