// plandrex-table as a user runs it: every subcommand on files the test writes, byte for byte
// (standard output, standard error, exit status, output files), its failures, the progress
// display on a real terminal, the SVG plot in real XML and SVG tools, and the shared real data
// against plandrex's own report.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "plandrex_version.h"
#include "tests/e2e/process_runner.h"
#include "tests/e2e/pty_runner.h"
#include "tests/e2e/temp_dir.h"

#ifndef TABLE_BINARY
#error "TABLE_BINARY is set in tests/table/CMakeLists.txt"
#endif

namespace {

using e2e::ProcessResult;
using e2e::TempDir;

const std::string kSourceDir = PLANDREX_SOURCE_DIR;
const std::string kDataDir = kSourceDir + "/../shared/data";

ProcessResult runTable(const std::vector<std::string>& args, const std::string& workDir,
                       e2e::StdinSource input = e2e::StdinSource::nullDevice(),
                       e2e::StdoutSink output = e2e::StdoutSink::capture()) {
  e2e::RunOptions options;
  options.args = args;
  options.argv0 = "plandrex-table";
  options.workDir = workDir;
  options.input = std::move(input);
  options.output = std::move(output);
  return e2e::runProgram(TABLE_BINARY, options);
}

ProcessResult runPlandrex(const std::vector<std::string>& args, const std::string& workDir) {
  e2e::RunOptions options;
  options.args = args;
  options.argv0 = "plandrex";
  options.workDir = workDir;
  return e2e::runProgram(PLANDREX_BINARY, options);
}

bool haveProgram(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Two small plain graphs and a differential one; AS 70000 cannot be in a classic file, so the
// first graph keeps to 16-bit numbers at the top of their range.
const char kFirst[] =
    "ZNG\n1\nfirst.txt\n\n4\n4\n"
    "7\n11\n300\n65535\n"
    "7 11 1 1 120 768 3 512\n"
    "7 300 1 0 1 2 3 4\n"
    "11 300 0 0 8 256 8 256\n"
    "300 65535 1 -1 0 0 0 18446744073709551615\n";
const char kSecond[] =
    "ZNG\n1\nsecond.txt\n\n3\n3\n"
    "7\n11\n42\n"
    "7 11 1 -1 1 1 1 1\n"
    "7 42 1 1 0 0 0 0\n"
    "11 42 1 0 0 0 0 0\n";
const char kDifferential[] =
    "ZND\n2\na\nb\n\n2\n1\n"
    "7\n11\n"
    "7 11 0 0 120 768 3 512 1 0 1 0 118 704 5 640 2 1 0 0 1 1 1.500000\n";

class TableE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir.path().empty());
    ASSERT_TRUE(dir.write("first.zng", kFirst));
    ASSERT_TRUE(dir.write("second.zng", kSecond));
    ASSERT_TRUE(dir.write("diff.znd", kDifferential));
  }
  TempDir dir;
};

const char kReportHeader[] =
    "first,second,nodes_1,nodes_only_1,nodes_2,nodes_only_2,nodes_common,edges_1,"
    "edges_1_peering,edges_1_directed,edges_1_unoriented,edges_only_1,edges_only_1_peering,"
    "edges_only_1_directed,edges_only_1_unoriented,edges_2,edges_2_peering,edges_2_directed,"
    "edges_2_unoriented,edges_only_2,edges_only_2_peering,edges_only_2_directed,"
    "edges_only_2_unoriented,edges_common,edges_common_opposite,edges_common_different,"
    "edges_common_consistent\n";

TEST_F(TableE2eTest, Report) {
  const ProcessResult result =
      runTable({"report", "first.zng", "second.zng", "first.zng"}, dir.path());
  ASSERT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out,
            std::string(kReportHeader) +
                "first.zng,second.zng,4,2,3,1,2,4,1,2,1,3,1,1,1,3,1,2,0,2,1,1,0,1,1,1,0\n"
                "second.zng,first.zng,3,1,4,2,2,3,1,2,0,2,1,1,0,4,1,2,1,3,1,1,1,1,1,1,0\n");
}

TEST_F(TableE2eTest, ReportAgainstTheBaseFromStandardInputAsJsonToAFile) {
  const ProcessResult result =
      runTable({"report", "--json", "--base", "-o", "rows.json", "first.zng", "-", "first.zng"},
               dir.path(), e2e::StdinSource::file(dir.file("second.zng")));
  ASSERT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "");
  const std::string rows = dir.read("rows.json");
  EXPECT_EQ(
      rows.rfind("{\"first\":\"first.zng\",\"second\":\"-\",\"nodes_1\":4,\"nodes_only_1\":2,", 0),
      0u)
      << rows;
  EXPECT_NE(rows.find("\n{\"first\":\"first.zng\",\"second\":\"first.zng\",\"nodes_1\":4,"
                      "\"nodes_only_1\":0,\"nodes_2\":4,\"nodes_only_2\":0,\"nodes_common\":4,"),
            std::string::npos)
      << rows;
  EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 2);
}

TEST_F(TableE2eTest, EdgesOfAPlainGraph) {
  const ProcessResult result = runTable({"edges", "first.zng"}, dir.path());
  ASSERT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out,
            "as_1,as_2,oriented,direction,path_covering_from_1,ip_covering_from_1,"
            "path_covering_from_2,ip_covering_from_2,relationship\n"
            "7,11,1,1,120,768,3,512,p2c\n"
            "7,300,1,0,1,2,3,4,p2p\n"
            "11,300,0,0,8,256,8,256,unknown\n"
            "300,65535,1,-1,0,0,0,18446744073709551615,c2p\n");
}

TEST_F(TableE2eTest, EdgesOfADifferentialGraphAsJson) {
  const ProcessResult result = runTable({"edges", "--json", "diff.znd"}, dir.path());
  ASSERT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out,
            "{\"as_1\":7,\"as_2\":11,\"oriented\":0,\"direction\":0,\"path_covering_from_1\":120,"
            "\"ip_covering_from_1\":768,\"path_covering_from_2\":3,\"ip_covering_from_2\":512,"
            "\"oriented_in_first\":1,\"oriented_in_second\":0,\"direction_in_first\":1,"
            "\"direction_in_second\":0,\"second_path_covering_from_1\":118,"
            "\"second_ip_covering_from_1\":704,\"second_path_covering_from_2\":5,"
            "\"second_ip_covering_from_2\":640,\"compared_graphs\":2,\"incoming_edges\":1,"
            "\"outgoing_edges\":0,\"undirected_edges\":0,\"unoriented_edges\":1,"
            "\"orientation_changes\":1,\"orientation_stability\":1.500000,"
            "\"relationship\":\"unknown\",\"relationship_in_first\":\"p2c\","
            "\"relationship_in_second\":\"unknown\"}\n");
}

TEST_F(TableE2eTest, Nodes) {
  const ProcessResult result = runTable({"nodes", "first.zng", "second.zng"}, dir.path());
  ASSERT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, "as,in\n7,both\n11,both\n42,second\n300,first\n65535,first\n");
}

struct FailureCase {
  const char* name;
  std::vector<std::string> args;
  int status;
  const char* err;
};

TEST_F(TableE2eTest, FailuresLeaveTheTargetAsItWas) {
  ASSERT_TRUE(dir.write("bad.zng", "ZNG\n1\nx\n\n1\n0\n70000\n"));
  ASSERT_TRUE(dir.write("target.csv", "old\n"));
  const FailureCase cases[] = {
      {"missing input",
       {"report", "-o", "target.csv", "first.zng", "none.zng"},
       2,
       "none.zng: No such file or directory\n"},
      {"invalid input",
       {"report", "-o", "target.csv", "first.zng", "second.zng", "bad.zng"},
       3,
       "bad.zng: Invalid AS number: `70000'\n"},
      {"invalid edges input",
       {"edges", "-o", "target.csv", "bad.zng"},
       3,
       "bad.zng: Invalid AS number: `70000'\n"},
      {"missing nodes input",
       {"nodes", "-o", "target.csv", "first.zng", "none.zng"},
       2,
       "none.zng: No such file or directory\n"},
      {"unwritable plot",
       {"report", "-o", "target.csv", "--plot", "no/such/dir/p.svg", "first.zng", "second.zng"},
       3,
       "Unable to open file `no/such/dir/p.svg' for writing\n(No such file or directory)\n"},
      {"output is an input",
       {"nodes", "-o", "target.csv", "first.zng", "target.csv"},
       3,
       "Unable to open file `target.csv' for writing\n(it is also an input file)\n"},
      {"plot is an input",
       {"report", "--plot", "target.csv", "first.zng", "target.csv"},
       3,
       "Unable to open file `target.csv' for writing\n(it is also an input file)\n"},
      {"command line",
       {"report", "-o", "target.csv", "first.zng"},
       1,
       "Syntax error: report needs two or more graph files\n"
       "Type plandrex-table --help for more information\n"},
  };
  for (const FailureCase& c : cases) {
    const ProcessResult result = runTable(c.args, dir.path());
    EXPECT_TRUE(result.exitedWith(c.status)) << c.name << ": " << result;
    EXPECT_EQ(result.out, "") << c.name;
    EXPECT_EQ(result.err, c.err) << c.name;
    EXPECT_EQ(dir.read("target.csv"), "old\n") << c.name;
  }
}

// The table and the plot take effect together: when either cannot be completed (a full device, a
// file size limit with or without its signal), both targets keep their bytes and no temporary
// file is left.
TEST_F(TableE2eTest, TableAndPlotAreReplacedTogetherOrNotAtAll) {
  std::vector<std::string> inputs;
  for (int i = 0; i < 30; ++i) {
    inputs.push_back(i % 2 == 0 ? "first.zng" : "second.zng");
  }
  struct Case {
    const char* name;
    const char* shellPrefix;  // empty: run directly
    const char* plot;
    int status;  // -1: ended by SIGXFSZ
    const char* err;
  };
  const Case cases[] = {
      {"plot on a full device", "", "/dev/full", 3,
       "Unable to write to file `/dev/full'\n(No space left on device)\n"},
      {"file size limit, signal ignored", "ulimit -f 8; trap '' XFSZ; exec \"$0\" \"$@\"",
       "plot.svg", 3, "Unable to write to file `plot.svg'\n(File too large)\n"},
      {"file size limit", "ulimit -f 8; exec \"$0\" \"$@\"", "plot.svg", -1, ""},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(dir.write("target.csv", "old\n"));
    ASSERT_TRUE(dir.write("plot.svg", "old plot\n"));
    const std::set<std::string> before = e2e::listDirectory(dir.path());
    std::vector<std::string> args = {"report", "-o", "target.csv", "--plot", c.plot};
    args.insert(args.end(), inputs.begin(), inputs.end());
    ProcessResult result;
    if (*c.shellPrefix == '\0') {
      result = runTable(args, dir.path());
    } else {
      args.insert(args.begin(), {"-c", c.shellPrefix, TABLE_BINARY});
      e2e::RunOptions options;
      options.args = args;
      options.workDir = dir.path();
      result = e2e::runProgram("/bin/sh", options);
    }
    if (c.status < 0) {
      EXPECT_EQ(result.termSignal, SIGXFSZ) << c.name << ": " << result;
    } else {
      EXPECT_TRUE(result.exitedWith(c.status)) << c.name << ": " << result;
      EXPECT_EQ(result.err, c.err) << c.name;
    }
    EXPECT_EQ(dir.read("target.csv"), "old\n") << c.name;
    EXPECT_EQ(dir.read("plot.svg"), "old plot\n") << c.name;
    EXPECT_EQ(e2e::listDirectory(dir.path()), before) << c.name;
  }
  // The same run without a limit writes both, and the table alone would fit under it: what the
  // limit stops is the plot.
  const std::vector<std::string> args = [&] {
    std::vector<std::string> all = {"report", "-o", "target.csv", "--plot", "plot.svg"};
    all.insert(all.end(), inputs.begin(), inputs.end());
    return all;
  }();
  ASSERT_TRUE(runTable(args, dir.path()).exitedWith(0));
  EXPECT_LT(dir.read("target.csv").size(), 8u * 512);
  EXPECT_GT(dir.read("plot.svg").size(), 8u * 1024);
}

// -o and --plot naming one file under two spellings are refused before anything is written, as an
// output that is an input is.
TEST_F(TableE2eTest, TableAndPlotInOneFileAreRefused) {
  ASSERT_TRUE(dir.write("target.csv", "old\n"));
  ASSERT_EQ(symlink("target.csv", dir.file("link.csv").c_str()), 0);
  ASSERT_EQ(link(dir.file("target.csv").c_str(), dir.file("hard.csv").c_str()), 0);
  const char* const spellings[][2] = {
      {"target.csv", "./target.csv"}, {"target.csv", "link.csv"}, {"hard.csv", "target.csv"},
      {"new.csv", "./new.csv"},       {"./new.svg", "new.svg"},
  };
  for (const auto& names : spellings) {
    const ProcessResult result = runTable(
        {"report", "-o", names[0], "--plot", names[1], "first.zng", "second.zng"}, dir.path());
    EXPECT_TRUE(result.exitedWith(3)) << names[1] << ": " << result;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, std::string("Unable to open file `") + names[1] +
                              "' for writing\n(it is also an output file)\n");
    EXPECT_EQ(dir.read("target.csv"), "old\n");
    EXPECT_FALSE(dir.exists("new.csv"));
    EXPECT_FALSE(dir.exists("new.svg"));
  }
}

// Arguments that a syntax error quotes reach the terminal escaped, whichever part of the command
// line they come from.
TEST_F(TableE2eTest, SyntaxErrorsEscapeWhatTheyQuote) {
  const struct {
    std::vector<std::string> args;
    const char* reason;
  } cases[] = {
      {{"\x1b]0;x\x07"}, "unknown command `\\x1b]0;x\\x07': report, edges or nodes"},
      {{"nodes", "--\x1b[2J"}, "unknown option `--\\x1b[2J' for nodes"},
  };
  for (const auto& c : cases) {
    const ProcessResult result = runTable(c.args, dir.path());
    EXPECT_TRUE(result.exitedWith(1)) << result;
    EXPECT_EQ(result.err, std::string("Syntax error: ") + c.reason +
                              "\nType plandrex-table --help for more information\n");
  }
}

TEST_F(TableE2eTest, AFullStandardOutputIsAFailure) {
  for (const char* command : {"report", "nodes"}) {
    const ProcessResult result =
        runTable({command, "first.zng", "second.zng"}, dir.path(), e2e::StdinSource::nullDevice(),
                 e2e::StdoutSink::file("/dev/full"));
    EXPECT_TRUE(result.exitedWith(3)) << result;
    EXPECT_EQ(result.err, "Unable to write to standard output\n(No space left on device)\n");
  }
}

TEST_F(TableE2eTest, HelpAndVersion) {
  const ProcessResult help = runTable({"--help"}, dir.path());
  ASSERT_TRUE(help.exitedWith(0)) << help;
  EXPECT_EQ(help.out.rfind("Usage: plandrex-table report", 0), 0u) << help.out;
  const ProcessResult version = runTable({"--version"}, dir.path());
  ASSERT_TRUE(version.exitedWith(0)) << version;
  EXPECT_EQ(version.out, std::string("plandrex-table ") + PLANDREX_VERSION + "\n");
}

// The progress display on a terminal: one line per input, rewritten in place, erased at the end;
// --quiet shows nothing.
TEST_F(TableE2eTest, ProgressOnATerminal) {
  for (const bool quiet : {false, true}) {
    e2e::PtyOptions options;
    options.args = {"report", "-o", "rows.csv", "first.zng", "second.zng", "sub/third.zng"};
    if (quiet) {
      options.args.insert(options.args.begin() + 1, "--quiet");
    }
    ASSERT_EQ(mkdir(dir.file("sub").c_str(), 0777) == 0 || quiet, true);
    ASSERT_TRUE(dir.write("sub/third.zng", kFirst));
    options.argv0 = "plandrex-table";
    options.workDir = dir.path();
    const ProcessResult result = e2e::runInTerminal(TABLE_BINARY, options);
    ASSERT_TRUE(result.exitedWith(0)) << result;
    EXPECT_EQ(result.out, quiet ? ""
                                : "\r\033[K1/3 first.zng\r\033[K2/3 second.zng"
                                  "\r\033[K3/3 third.zng\r\033[K");
    const std::string rows = dir.read("rows.csv");
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 3);
  }
}

// A failure on a terminal: the progress line goes before the message comes.
TEST_F(TableE2eTest, FailureOnATerminalErasesTheProgressFirst) {
  e2e::PtyOptions options;
  options.args = {"report", "-o", "rows.csv", "first.zng", "none.zng"};
  options.argv0 = "plandrex-table";
  options.workDir = dir.path();
  const ProcessResult result = e2e::runInTerminal(TABLE_BINARY, options);
  ASSERT_TRUE(result.exitedWith(2)) << result;
  EXPECT_EQ(
      result.out,
      "\r\033[K1/2 first.zng\r\033[K2/2 none.zng\r\033[Knone.zng: No such file or directory\n");
  EXPECT_FALSE(dir.exists("rows.csv"));
}

// The plot is well-formed XML and renders in a real SVG renderer, at its stated size.
TEST_F(TableE2eTest, PlotRendersInRealTools) {
  ASSERT_TRUE(dir.write("a&<b>\xff.zng", kSecond));
  std::vector<std::string> args = {"report", "-o", "rows.csv", "--plot", "series.svg"};
  for (int i = 0; i < 40; ++i) {
    args.push_back(i % 3 == 0 ? "first.zng" : i % 3 == 1 ? "second.zng" : "a&<b>\xff.zng");
  }
  const ProcessResult result = runTable(args, dir.path());
  ASSERT_TRUE(result.exitedWith(0)) << result;
  const std::string svg = dir.read("series.svg");
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_NE(svg.find("a&amp;&lt;b&gt;\xEF\xBF\xBD.zng"), std::string::npos);
  if (!haveProgram("xmllint") || !haveProgram("rsvg-convert")) {
    GTEST_SKIP() << "xmllint or rsvg-convert not installed (libxml2-utils, librsvg2-bin)";
  }
  const std::string svgPath = dir.file("series.svg");
  const std::string pngPath = dir.file("series.png");
  EXPECT_EQ(std::system(("xmllint --noout '" + svgPath + "'").c_str()), 0);
  EXPECT_EQ(std::system(("rsvg-convert -o '" + pngPath + "' '" + svgPath + "'").c_str()), 0);
  const std::string png = dir.read("series.png");
  ASSERT_GT(png.size(), 24u);
  // The IHDR chunk: width and height, big-endian, at bytes 16 and 20.
  auto at = [&](std::size_t i) {
    return (static_cast<unsigned>(static_cast<unsigned char>(png[i])) << 24) |
           (static_cast<unsigned>(static_cast<unsigned char>(png[i + 1])) << 16) |
           (static_cast<unsigned>(static_cast<unsigned char>(png[i + 2])) << 8) |
           static_cast<unsigned>(static_cast<unsigned char>(png[i + 3]));
  };
  EXPECT_EQ(at(16), 1000u);
  EXPECT_EQ(at(20), 600u);
}

// The shared CAIDA series: every row equals plandrex's report on that pair.
TEST(TableRealDataTest, SeriesEqualsPlandrexReports) {
  const std::vector<std::string> names = {"caida-s1-20040101.zng", "caida-s1-20100101.zng",
                                          "caida-s1-20160101.zng", "caida-s1-20200101.zng",
                                          "caida-s1-20240701.zng", "caida-s1-20240801.zng"};
  struct stat status;
  if (stat((kDataDir + "/" + names[0]).c_str(), &status) != 0) {
    GTEST_SKIP() << "the shared real data (" << kDataDir << ") is not here";
  }
  std::vector<std::string> args = {"report", "--quiet"};
  args.insert(args.end(), names.begin(), names.end());
  const ProcessResult table = runTable(args, kDataDir);
  ASSERT_TRUE(table.exitedWith(0)) << table.err;
  std::istringstream rows(table.out);
  std::string row;
  std::getline(rows, row);
  for (std::size_t i = 1; i < names.size(); ++i) {
    ASSERT_TRUE(std::getline(rows, row));
    const ProcessResult report = runPlandrex({names[i - 1], names[i]}, kDataDir);
    ASSERT_TRUE(report.exitedWith(0)) << report.err;
    std::string expected = names[i - 1] + "," + names[i];
    std::istringstream lines(report.out);
    std::string line;
    while (std::getline(lines, line)) {
      expected += "," + line.substr(line.find_last_of(' ') + 1);
    }
    EXPECT_EQ(row, expected);
  }
}

}  // namespace
