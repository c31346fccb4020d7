// plandrex-table as a user runs it: every subcommand on files the test writes, byte for byte
// (standard output, standard error, exit status, output files), its failures, the progress
// display on a real terminal, the SVG plot in real XML and SVG tools, and the shared real data
// against plandrex's own report.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <regex>
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
  // Runs plandrex-table here: it must succeed, say nothing on standard error and print out.
  void expectTable(const std::vector<std::string>& args, const std::string& out,
                   e2e::StdinSource input = e2e::StdinSource::nullDevice()) {
    const ProcessResult result = runTable(args, dir.path(), std::move(input));
    ASSERT_TRUE(result.exitedWith(0)) << result;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, out);
  }
  TempDir dir;
};

const char kReportHeader[] =
    "first,second,nodes_1,nodes_only_1,nodes_2,nodes_only_2,nodes_common,edges_1,"
    "edges_1_peering,edges_1_directed,edges_1_unoriented,edges_only_1,edges_only_1_peering,"
    "edges_only_1_directed,edges_only_1_unoriented,edges_2,edges_2_peering,edges_2_directed,"
    "edges_2_unoriented,edges_only_2,edges_only_2_peering,edges_only_2_directed,"
    "edges_only_2_unoriented,edges_common,edges_common_opposite,edges_common_different,"
    "edges_common_consistent,date_1,date_2\n";

TEST_F(TableE2eTest, Report) {
  const ProcessResult result =
      runTable({"report", "first.zng", "second.zng", "first.zng"}, dir.path());
  ASSERT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out,
            std::string(kReportHeader) +
                "first.zng,second.zng,4,2,3,1,2,4,1,2,1,3,1,1,1,3,1,2,0,2,1,1,0,1,1,1,0,,\n"
                "second.zng,first.zng,3,1,4,2,2,3,1,2,0,2,1,1,0,4,1,2,1,3,1,1,1,1,1,1,0,,\n");
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

// A series given back and forth: the dates of --dates, the gaps between them, and what came,
// went and changed against the graph before.
TEST_F(TableE2eTest, SnapshotsOfADatedSeries) {
  expectTable({"snapshots", "--dates", "2004-01-01,2004-03-01,2005-03-01", "first.zng",
               "second.zng", "first.zng"},
              "graph,date,ases,ases_wide,edges,edges_peering,edges_directed,edges_unoriented,days,"
              "ases_new,ases_gone,edges_new,edges_gone,edges_changed\n"
              "first.zng,2004-01-01,4,0,4,1,2,1,,,,,,\n"
              "second.zng,2004-03-01,3,0,3,1,2,0,60,1,2,2,3,1\n"
              "first.zng,2005-03-01,4,0,4,1,2,1,365,2,1,3,2,1\n");
}

TEST_F(TableE2eTest, SnapshotsAsJsonWithoutDates) {
  expectTable({"snapshots", "--json", "second.zng"},
              "{\"graph\":\"second.zng\",\"date\":null,\"ases\":3,\"ases_wide\":0,\"edges\":3,"
              "\"edges_peering\":1,\"edges_directed\":2,\"edges_unoriented\":0,\"days\":null,"
              "\"ases_new\":null,\"ases_gone\":null,\"edges_new\":null,\"edges_gone\":null,"
              "\"edges_changed\":null}\n");
}

// Every AS of each graph, and those gone since the graph before (degree 0, all of it gone);
// relationships seen from the AS of the row.
TEST_F(TableE2eTest, AsesOfTwoGraphs) {
  ASSERT_TRUE(dir.write("as-20040101.zng", kFirst));
  expectTable({"ases", "as-20040101.zng", "second.zng"},
              "graph,date,as,degree,providers,customers,peers,unknown,edges_new,edges_gone\n"
              "as-20040101.zng,2004-01-01,7,2,0,1,1,0,,\n"
              "as-20040101.zng,2004-01-01,11,2,1,0,0,1,,\n"
              "as-20040101.zng,2004-01-01,300,3,1,0,1,1,,\n"
              "as-20040101.zng,2004-01-01,65535,1,0,1,0,0,,\n"
              "second.zng,,7,2,1,1,0,0,1,1\n"
              "second.zng,,11,2,0,1,1,0,1,1\n"
              "second.zng,,42,2,1,0,1,0,2,0\n"
              "second.zng,,300,0,0,0,0,0,0,3\n"
              "second.zng,,65535,0,0,0,0,0,0,1\n");
}

// An adjacency that goes and comes back counts a return; a relationship that flips and flips
// back counts two changes.
TEST_F(TableE2eTest, HistoryOfASeries) {
  expectTable({"history", "--dates", "2004-01-01,2004-03-01,2005-03-01", "first.zng", "second.zng",
               "first.zng"},
              "as_1,as_2,first_seen,last_seen,snapshots,returns,relationship_first,"
              "relationship_last,relationship_changes\n"
              "7,11,2004-01-01,2005-03-01,3,0,p2c,p2c,2\n"
              "7,42,2004-03-01,2004-03-01,1,0,p2c,p2c,0\n"
              "7,300,2004-01-01,2005-03-01,2,1,p2p,p2p,0\n"
              "11,42,2004-03-01,2004-03-01,1,0,p2p,p2p,0\n"
              "11,300,2004-01-01,2005-03-01,2,1,unknown,unknown,0\n"
              "300,65535,2004-01-01,2005-03-01,2,1,c2p,c2p,0\n");
  // Undated graphs are named by what the command line calls them.
  const ProcessResult named = runTable({"history", "--json", "first.zng", "-"}, dir.path(),
                                       e2e::StdinSource::file(dir.file("second.zng")));
  ASSERT_TRUE(named.exitedWith(0)) << named;
  EXPECT_EQ(named.out.substr(0, named.out.find('\n')),
            "{\"as_1\":7,\"as_2\":11,\"first_seen\":\"first.zng\",\"last_seen\":\"-\","
            "\"snapshots\":2,\"returns\":0,\"relationship_first\":\"p2c\","
            "\"relationship_last\":\"c2p\",\"relationship_changes\":1}");
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
      {"missing series input",
       {"snapshots", "first.zng", "none.zng"},
       2,
       "none.zng: No such file or directory\n"},
      {"invalid series input",
       {"ases", "first.zng", "second.zng", "bad.zng"},
       3,
       "bad.zng: Invalid AS number: `70000'\n"},
      {"invalid history input",
       {"history", "-o", "target.csv", "first.zng", "bad.zng"},
       3,
       "bad.zng: Invalid AS number: `70000'\n"},
      {"history output is an input",
       {"history", "-o", "target.csv", "target.csv"},
       3,
       "Unable to open file `target.csv' for writing\n(it is also an input file)\n"},
      {"dates backwards",
       {"ases", "-o", "target.csv", "s-20100101.zng", "s-20040101.zng"},
       1,
       "Syntax error: the dates go backwards: `s-20040101.zng' (2004-01-01) comes after "
       "`s-20100101.zng' (2010-01-01); give the graphs in date order, or --unordered to keep "
       "this order\n"
       "Type plandrex-table --help for more information\n"},
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
      {{"\x1b]0;x\x07"}, "unknown command `\\x1b]0;x\\x07': report, edges, nodes, snapshots, ases or history"},
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
  for (const char* command : {"report", "nodes", "snapshots", "ases", "history"}) {
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
  ASSERT_EQ(mkdir(dir.file("sub").c_str(), 0777), 0);
  ASSERT_TRUE(dir.write("sub/third.zng", kFirst));
  for (const char* command : {"report", "snapshots", "ases", "history", "nodes"}) {
    for (const bool quiet : {false, true}) {
      e2e::PtyOptions options;
      // nodes reads two graphs, the others any number.
      const bool pair = std::string(command) == "nodes";
      options.args = {command, "-o", "rows.csv", "first.zng", "second.zng", "sub/third.zng"};
      if (pair) {
        options.args.erase(options.args.begin() + 4);
      }
      if (quiet) {
        options.args.insert(options.args.begin() + 1, "--quiet");
      }
      options.argv0 = "plandrex-table";
      options.workDir = dir.path();
      const ProcessResult result = e2e::runInTerminal(TABLE_BINARY, options);
      ASSERT_TRUE(result.exitedWith(0)) << result;
      EXPECT_EQ(result.out, quiet  ? ""
                            : pair ? "\r\033[K1/2 first.zng\r\033[K2/2 third.zng\r\033[K"
                                   : "\r\033[K1/3 first.zng\r\033[K2/3 second.zng"
                                     "\r\033[K3/3 third.zng\r\033[K");
      EXPECT_TRUE(dir.exists("rows.csv")) << command;
    }
  }
}

// A run stopped by a signal while the progress shows takes the line off the screen before it
// ends, so that the shell's prompt does not land in the middle of it.
TEST_F(TableE2eTest, ProgressIsErasedWhenASignalEndsTheRun) {
  ASSERT_EQ(mkfifo(dir.file("slow.zng").c_str(), 0600), 0);
  for (const int signalNumber : {SIGINT, SIGTERM}) {
    e2e::PtyOptions options;
    options.args = {"snapshots", "first.zng", "slow.zng"};
    options.argv0 = "plandrex-table";
    options.workDir = dir.path();
    e2e::PtySession session;
    ASSERT_TRUE(session.start(TABLE_BINARY, options)) << session.error();
    // The reader waits at the FIFO, which no one writes.
    ASSERT_TRUE(session.waitFor("2/2 slow.zng")) << session.screen();
    ASSERT_TRUE(session.sendSignal(signalNumber));
    const ProcessResult result = session.finish();
    EXPECT_EQ(result.termSignal, signalNumber) << result;
    EXPECT_EQ(result.out, "\r\033[K1/2 first.zng\r\033[K2/2 slow.zng\r\033[K");
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

// The figure through the binary: the dates in the graphs' names put each graph at an x
// proportional to its date, report and snapshots draw the same figure, and the SVG is well-formed
// and renders to PNG (96 pixels per inch of --size) and to PDF without a word on standard error.
TEST_F(TableE2eTest, PlotRendersInRealTools) {
  const std::vector<std::pair<std::string, long>> graphs = {{"as-20040101.zng", 12418},
                                                            {"as-20100101.zng", 14610},
                                                            {"as-20240701.zng", 19905},
                                                            {"a&<b>\xff-20240801.zng", 19935}};
  std::vector<std::string> args = {"report", "-o",  "rows.csv", "--plot",   "series.svg",
                                   "--size", "5x3", "--title",  "a&<b>\xff"};
  for (std::size_t i = 0; i < graphs.size(); ++i) {
    ASSERT_TRUE(dir.write(graphs[i].first, i % 2 == 0 ? kFirst : kSecond));
    args.push_back(graphs[i].first);
  }
  const ProcessResult result = runTable(args, dir.path());
  ASSERT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.out + result.err, "");
  const std::string svg = dir.read("series.svg");
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_NE(svg.find(">a&amp;&lt;b&gt;\xEF\xBF\xBD</text>"), std::string::npos);

  // snapshots draws the same figure from its own columns, named as its table names them.
  args[0] = "snapshots";
  args[4] = "snapshots.svg";
  ASSERT_TRUE(runTable(args, dir.path()).exitedWith(0));
  std::string renamed = svg;
  for (const auto& [report, snapshots] : std::vector<std::pair<std::string, std::string>>{
           {"nodes_2", "ases"},
           {"edges_2", "edges"},
           {"edges_only_2", "edges_new"},
           {"edges_only_1", "edges_gone"},
           {"edges_common_different", "edges_changed"}}) {
    const std::string id = "<g id=\"series-" + report + "\">";
    ASSERT_NE(renamed.find(id), std::string::npos) << report;
    renamed.replace(renamed.find(id), id.size(), "<g id=\"series-" + snapshots + "\">");
  }
  EXPECT_EQ(dir.read("snapshots.svg"), renamed);

  const std::size_t begin = svg.find("<g id=\"series-nodes_2\">");
  ASSERT_NE(begin, std::string::npos);
  const std::string group = svg.substr(begin, svg.find("</g>", begin) - begin);
  const std::regex marker("<use [^>]* x=\"([0-9.]+)\"");
  std::vector<double> xs;
  for (auto it = std::sregex_iterator(group.begin(), group.end(), marker);
       it != std::sregex_iterator(); ++it) {
    xs.push_back(std::stod((*it)[1]));
  }
  ASSERT_EQ(xs.size(), graphs.size());
  const double perDay =
      (xs.back() - xs.front()) / static_cast<double>(graphs.back().second - graphs[0].second);
  for (std::size_t i = 0; i < graphs.size(); ++i) {
    EXPECT_NEAR(xs[i] - xs[0], perDay * static_cast<double>(graphs[i].second - graphs[0].second),
                0.05)
        << graphs[i].first;
  }

  if (!haveProgram("xmllint") || !haveProgram("rsvg-convert")) {
    GTEST_SKIP() << "xmllint or rsvg-convert not installed (libxml2-utils, librsvg2-bin)";
  }
  const std::string svgPath = dir.file("series.svg");
  for (const std::string& command :
       {"xmllint --noout '" + svgPath + "'",
        "rsvg-convert -o '" + dir.file("series.png") + "' '" + svgPath + "'",
        "rsvg-convert -f pdf -o '" + dir.file("series.pdf") + "' '" + svgPath + "'"}) {
    EXPECT_EQ(std::system((command + " 2>'" + dir.file("warnings") + "'").c_str()), 0) << command;
    EXPECT_EQ(dir.read("warnings"), "") << command;
  }
  EXPECT_EQ(dir.read("series.pdf").rfind("%PDF", 0), 0u);
  const std::string png = dir.read("series.png");
  ASSERT_GT(png.size(), 24u);
  // The IHDR chunk: width and height, big-endian, at bytes 16 and 20.
  auto at = [&](std::size_t i) {
    return (static_cast<unsigned>(static_cast<unsigned char>(png[i])) << 24) |
           (static_cast<unsigned>(static_cast<unsigned char>(png[i + 1])) << 16) |
           (static_cast<unsigned>(static_cast<unsigned char>(png[i + 2])) << 8) |
           static_cast<unsigned>(static_cast<unsigned char>(png[i + 3]));
  };
  EXPECT_EQ(at(16), 480u);
  EXPECT_EQ(at(20), 288u);
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
    // The dates in the names follow the figures.
    for (const std::string* name : {&names[i - 1], &names[i]}) {
      const std::string digits = name->substr(9, 8);
      expected += "," + digits.substr(0, 4) + "-" + digits.substr(4, 2) + "-" + digits.substr(6);
    }
    EXPECT_EQ(row, expected);
  }
}

// The README's figure is what the command it shows draws, byte for byte: that command, run as
// written from the top of the tree with this build's program, into a file of its own.
TEST(TableRealDataTest, ReadmeFigureIsWhatItsCommandDraws) {
  struct stat status;
  if (stat((kDataDir + "/wide").c_str(), &status) != 0) {
    GTEST_SKIP() << "the shared real data (" << kDataDir << ") is not here";
  }
  std::ifstream readme(kSourceDir + "/README.md");
  std::stringstream text;
  text << readme.rdbuf();
  const std::string program = "./build/table/plandrex-table";
  const std::string figure = "docs/caida-s1-series.svg";
  const std::size_t begin = text.str().find("```sh\n" + program + " snapshots");
  ASSERT_NE(begin, std::string::npos) << "README shows no command that draws " << figure;
  std::string command = text.str().substr(begin + 6, text.str().find("```", begin + 6) - begin - 6);
  const TempDir dir;
  ASSERT_NE(command.find(figure), std::string::npos) << command;
  command.replace(command.find(figure), figure.size(), dir.file("figure.svg"));
  command.replace(0, program.size(), TABLE_BINARY);
  ASSERT_EQ(std::system(("cd '" + kSourceDir + "' && " + command).c_str()), 0) << command;
  std::ifstream committed(kSourceDir + "/" + figure);
  std::stringstream bytes;
  bytes << committed.rdbuf();
  EXPECT_TRUE(dir.read("figure.svg") == bytes.str())
      << figure << " is not what README's command draws; run it again";
}

}  // namespace
