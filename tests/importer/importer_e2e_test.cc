// plandrex-import as a user runs it: input files written here, the exact
// graph, counts, messages and exit status, and what is left on disk.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "plandrex_version.h"
#include "tests/e2e/temp_dir.h"
#include "tests/importer/compressed_bytes.h"
#include "tests/importer/importer_binary.h"

namespace importer_test {
namespace {

using e2e::StdinSource;
using e2e::StdoutSink;

std::set<std::string> filesIn(const e2e::TempDir& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

// The counts block, in its order; the numbers are given in the order of the labels. The
// default keeps every AS number and counts the ones above 65535; --classic keeps 1 to 65535.
std::string counts(const std::string& format, const std::vector<unsigned long long>& n,
                   bool classic = false) {
  std::vector<std::string> labels = {"lines",
                                     "comment and empty lines",
                                     "link lines",
                                     "links dropped (AS number outside 1-4294967295)",
                                     "AS numbers outside 1-4294967295",
                                     "self-loops dropped",
                                     "links kept",
                                     "links of unknown relationship type",
                                     "duplicate links merged",
                                     "conflicting adjacencies made unoriented",
                                     "nodes",
                                     "AS numbers above 65535 kept",
                                     "isolated nodes",
                                     "adjacencies",
                                     "peering adjacencies",
                                     "directed adjacencies",
                                     "unoriented adjacencies",
                                     "self-loops kept"};
  if (classic) {
    labels[3] = "links dropped (AS number outside 1-65535)";
    labels[4] = "AS numbers outside 1-65535";
    labels.erase(labels.begin() + 11);
  }
  std::string text = "format: " + format + "\n";
  for (std::size_t i = 0; i < n.size(); ++i) {
    text += labels[i] + ": " + std::to_string(n[i]) + "\n";
  }
  return text;
}

struct Conversion {
  const char* what;
  std::string input;
  std::vector<std::string> extraArgs;
  std::string graph;
  std::string counts;
};

const char* const kSerial1Links =
    "# source:topology|BGP|20240801|ripe|rrc00\n"
    "1|2|-1\n3|1|-1\n2|3|0\n4|70000|-1\n0|5|0\n6|6|0\n70000|4294967295|0\n";

TEST(ImporterTest, EachFormatConvertsWithItsRules) {
  const Conversion cases[] = {
      {"serial-1: AS 0 drops a link but keeps its other end, self-loops dropped, 32-bit "
       "numbers kept in a wide file",
       kSerial1Links,
       {},
       "ZNG32\n1\nin.txt\n\n8\n5\n1\n2\n3\n4\n5\n6\n70000\n4294967295\n"
       "1 2 1 1 0 0 0 0\n1 3 1 -1 0 0 0 0\n2 3 1 0 0 0 0 0\n4 70000 1 1 0 0 0 0\n"
       "70000 4294967295 1 0 0 0 0 0\n",
       counts("serial-1", {8, 1, 7, 1, 1, 1, 5, 0, 0, 0, 8, 2, 2, 5, 2, 3, 0, 0})},
      {"serial-1, --classic: 32-bit numbers drop links too, as the description says",
       kSerial1Links,
       {"--classic"},
       "ZNG\n1\nin.txt\nclassic format: 2 of 5 adjacencies dropped (AS numbers above 65535)\n"
       "6\n3\n1\n2\n3\n4\n5\n6\n"
       "1 2 1 1 0 0 0 0\n1 3 1 -1 0 0 0 0\n2 3 1 0 0 0 0 0\n",
       counts("serial-1", {8, 1, 7, 3, 3, 1, 3, 0, 0, 0, 6, 3, 3, 1, 2, 0, 0}, true)},
      {"serial-1, --classic with a description: the classic file as it always was",
       kSerial1Links,
       {"--description", "", "--classic"},
       "ZNG\n1\nin.txt\n\n6\n3\n1\n2\n3\n4\n5\n6\n"
       "1 2 1 1 0 0 0 0\n1 3 1 -1 0 0 0 0\n2 3 1 0 0 0 0 0\n",
       counts("serial-1", {8, 1, 7, 3, 3, 1, 3, 0, 0, 0, 6, 3, 3, 1, 2, 0, 0}, true)},
      {"serial-2: agreeing repeats merge, disagreeing ones become unoriented",
       "10|20|-1|bgp\n20|10|0|mlp\n30|10|-1|bgp\n30|10|-1|bgp,mlp\n10|40|-1|bgp\n40|10|-1|mlp\n"
       "10|20|-1|mlp\n",
       {},
       "ZNG\n1\nin.txt\n\n4\n3\n10\n20\n30\n40\n"
       "10 20 0 0 0 0 0 0\n10 30 1 -1 0 0 0 0\n10 40 0 0 0 0 0 0\n",
       counts("serial-2", {7, 0, 7, 0, 0, 0, 7, 0, 4, 2, 4, 0, 0, 3, 0, 1, 2, 0})},
      {"snap-caida: mirrored lines, siblings, unknown codes, a kept self-loop",
       "5\t6\t1\n6\t5\t-1\n7\t5\t0\n5\t7\t0\n8\t9\t2\n9\t8\t2\n9\t6\t7\n9\t9\t0\n",
       {"--keep-self-loops", "--description", "SNAP as-caida test"},
       "ZNG\n1\nin.txt\nSNAP as-caida test\n5\n5\n5\n6\n7\n8\n9\n"
       "5 6 1 1 0 0 0 0\n5 7 1 0 0 0 0 0\n6 9 0 0 0 0 0 0\n8 9 0 0 0 0 0 0\n"
       "9 9 1 0 0 0 0 0\n",
       counts("snap-caida", {8, 0, 8, 0, 0, 0, 8, 1, 3, 0, 5, 0, 0, 5, 2, 1, 2, 1})},
      {"links: blanks, tabs, one comma, CRLF, comments of both kinds, a missing last line end",
       "% links\r\n  # indented comment\r\n\r\n3 1\r\n1\t3\r\n2 , 1\r\n \t\r\n65535,65534",
       {"--source-name", "links.csv"},
       "ZNG\n1\nlinks.csv\n\n5\n3\n1\n2\n3\n65534\n65535\n"
       "1 2 0 0 0 0 0 0\n1 3 0 0 0 0 0 0\n65534 65535 0 0 0 0 0 0\n",
       counts("links", {8, 4, 4, 0, 0, 0, 4, 0, 1, 0, 5, 0, 0, 3, 0, 0, 3, 0})},
  };
  for (const Conversion& c : cases) {
    SCOPED_TRACE(c.what);
    e2e::TempDir dir;
    ASSERT_TRUE(dir.write("in.txt", c.input));
    std::vector<std::string> args = c.extraArgs;
    args.push_back("in.txt");
    const e2e::ProcessResult result = runImporter(args, dir.path());
    EXPECT_TRUE(result.exitedWith(0)) << result;
    EXPECT_EQ(result.out, c.graph);
    EXPECT_EQ(result.err, c.counts);
  }
}

TEST(ImporterTest, MergeDoesNotDependOnLineOrder) {
  const std::vector<std::string> lines = {"1|2|-1", "2|1|0",  "2|3|-1", "3|2|-1", "1|3|0",
                                          "3|1|0",  "4|1|-1", "4|1|-1", "2|1|-1"};
  std::string forward;
  std::string backward;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    forward += lines[i] + "\n";
    backward += lines[lines.size() - 1 - i] + "\n";
  }
  e2e::TempDir dir;
  ASSERT_TRUE(dir.write("forward", forward));
  ASSERT_TRUE(dir.write("backward", backward));
  const e2e::ProcessResult a = runImporter({"--source-name", "x", "forward"}, dir.path());
  const e2e::ProcessResult b = runImporter({"--source-name", "x", "backward"}, dir.path());
  EXPECT_TRUE(a.exitedWith(0)) << a;
  EXPECT_EQ(a.out, b.out);
  EXPECT_EQ(a.err, b.err);
  EXPECT_EQ(a.out,
            "ZNG\n1\nx\n\n4\n4\n1\n2\n3\n4\n"
            "1 2 0 0 0 0 0 0\n1 3 1 0 0 0 0 0\n1 4 1 -1 0 0 0 0\n2 3 0 0 0 0 0 0\n");
}

TEST(ImporterTest, CompressedInputFromFilesAndStandardInput) {
  const std::string text = "# c\n1|2|-1\n2|3|0\n";
  const std::string graph = "ZNG\n1\nNAME\n\n3\n2\n1\n2\n3\n1 2 1 1 0 0 0 0\n2 3 1 0 0 0 0 0\n";
  const auto named = [&graph](const std::string& name) {
    std::string expected = graph;
    return expected.replace(expected.find("NAME"), 4, name);
  };
  e2e::TempDir dir;
  // The content decides: a gzip file under a .txt name is still read as gzip.
  ASSERT_TRUE(dir.write("rel.txt.gz", gzipped(text)));
  ASSERT_TRUE(dir.write("rel.txt.bz2", bzipped(text)));
  ASSERT_TRUE(dir.write("really-gzip.txt", gzipped(text)));
  for (const char* name : {"rel.txt.gz", "rel.txt.bz2", "really-gzip.txt"}) {
    SCOPED_TRACE(name);
    const e2e::ProcessResult result = runImporter({"--quiet", name}, dir.path());
    EXPECT_TRUE(result.exitedWith(0)) << result;
    EXPECT_EQ(result.out, named(name));
    EXPECT_EQ(result.err, "");
  }
  for (const std::string& bytes : {gzipped(text), bzipped(text), text}) {
    const e2e::ProcessResult result =
        runImporter({"--quiet", "-"}, dir.path(), StdinSource::bytes(bytes));
    EXPECT_TRUE(result.exitedWith(0)) << result;
    EXPECT_EQ(result.out, named("-"));
  }
}

struct Failure {
  const char* what;
  std::string input;  // written to in.txt
  std::vector<std::string> args;
  std::string err;
  int status;
};

// Every failure leaves an existing output file as it was and no other file behind.
TEST(ImporterTest, FailuresHaveTheirMessageAndStatusAndWriteNothing) {
  const std::string text = "1|2|0\n1|3|0\n";
  std::string truncatedGzip = gzipped(text);
  truncatedGzip.resize(truncatedGzip.size() - 8);  // the trailer's checksum and length
  std::string truncatedBzip2 = bzipped(text);
  truncatedBzip2.resize(truncatedBzip2.size() - 1);
  std::string corruptGzip = gzipped(text);
  corruptGzip[corruptGzip.size() - 5] ^= 0x55;  // the trailer's checksum: found after every line
  const std::vector<std::string> tooManyTables(65537, "in.txt");
  const Failure cases[] = {
      {"bad AS number", "1|2|0\n# c\n1|x|0\n", {"in.txt"}, "in.txt:3: invalid AS number `x'\n", 3},
      {"bad relationship",
       "1|2|0\n1|3|p2p\n",
       {"in.txt"},
       "in.txt:2: invalid relationship `p2p'\n",
       3},
      {"a line of another format",
       "1|2|0\n1|2|0|bgp\n",
       {"in.txt"},
       "in.txt:2: expected 3 fields separated by `|', found 4\n",
       3},
      {"the format named does not fit",
       text,
       {"--format", "serial-2", "in.txt"},
       "in.txt:1: expected 4 fields separated by `|', found 3\n",
       3},
      {"unknown format",
       "# c\n1 2 3\n",
       {"in.txt"},
       "in.txt:2: unknown format of line `1 2 3' (name it with --format)\n",
       3},
      {"control bytes are not echoed",
       "\x1b]0;owned\x07\n",
       {"in.txt"},
       "in.txt:1: unknown format of line `\\x1b]0;owned\\x07' (name it with --format)\n",
       3},
      {"empty input", "", {"in.txt"}, "in.txt: no data lines (empty input)\n", 3},
      {"comments only",
       "# a\n\n% b\n",
       {"--format", "links", "in.txt"},
       "in.txt: no data lines (empty input)\n",
       3},
      {"truncated gzip",
       truncatedGzip,
       {"in.txt"},
       "in.txt:3: truncated gzip data (the input ends inside the compressed stream)\n",
       3},
      {"truncated bzip2",
       truncatedBzip2,
       {"in.txt"},
       "in.txt:3: truncated bzip2 data (the input ends inside the compressed stream)\n",
       3},
      {"missing input",
       text,
       {"missing.txt"},
       "Unable to open file `missing.txt'\n(No such file or directory)\n",
       2},
      {"output directory missing",
       text,
       {"-o", "nodir/out.zng", "in.txt"},
       "Unable to open file `nodir/out.zng' for writing\n(No such file or directory)\n",
       3},
      {"full disk",
       text,
       {"-o", "/dev/full", "in.txt"},
       "Unable to write to file `/dev/full'\n(No space left on device)\n",
       3},
      {"corrupt gzip member: the line where reading stopped",
       corruptGzip,
       {"in.txt"},
       "in.txt:3: corrupt gzip data (incorrect data check)\n",
       3},
      {"relationship file of no relationship format: --format does not apply to it",
       "1 2\n",
       {"--relationships", "in.txt", "table.txt"},
       "in.txt:1: unknown format of line `1 2' (a relationship file is serial-1, serial-2 or "
       "snap-caida)\n",
       3},
      {"more routing tables than a graph file lists", text, tooManyTables,
       "Syntax error: wrong number of inputs (a graph file lists at most 65536)\n"
       "Type plandrex-import --help for more information\n",
       1},
      {"command line",
       text,
       {"in.txt", "--format", "caida"},
       "Syntax error: unknown format `caida' (known: serial-1, serial-2, snap-caida, links, "
       "bgpdump, mrt)\n"
       "Type plandrex-import --help for more information\n",
       1},
  };
  for (const Failure& c : cases) {
    SCOPED_TRACE(c.what);
    e2e::TempDir dir;
    ASSERT_TRUE(dir.write("in.txt", c.input));
    ASSERT_TRUE(dir.write("out.zng", "old\n"));
    std::vector<std::string> args = {"-o", "out.zng"};
    if (c.args.front() == "-o") {
      args.clear();
    }
    args.insert(args.end(), c.args.begin(), c.args.end());
    const e2e::ProcessResult result = runImporter(args, dir.path());
    EXPECT_TRUE(result.exitedWith(c.status)) << result;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, c.err);
    EXPECT_EQ(dir.read("out.zng"), "old\n");
    EXPECT_EQ(filesIn(dir), (std::set<std::string>{"in.txt", "out.zng"}));
  }
}

// Inputs that must give the same graph as a plain, well-formed one.
TEST(ImporterTest, InputDetailsReadAsTheirPlainForm) {
  const std::string rib =
      "TABLE_DUMP2|1|B|192.0.2.1|10|10.0.0.0/8|10 20 30|IGP\n"
      "TABLE_DUMP2|1|B|192.0.2.1|10|10.1.0.0/16|10 40|IGP";
  struct Case {
    const char* what;
    std::string input;
    std::vector<std::string> args;
    std::string plain;  // the well-formed input of the same graph
  };
  const Case cases[] = {
      {"a last line ending in CR", "1|2|0\r\n1|3|-1\r", {}, "1|2|0\n1|3|-1\n"},
      {"a routing table's last route ending in CR", rib + "\r", {}, rib + "\n"},
      {"gzip data padded with zeros", gzipped("1|2|0\n") + std::string(1024, '\0'), {}, "1|2|0\n"},
      {"a snap-caida self-loop and its mirror",
       "24\t24\t1\n5\t6\t1\n6\t5\t-1\n24\t24\t-1\n",
       {"--keep-self-loops"},
       "24\t24\t1\n5\t6\t1\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    e2e::TempDir dir;
    ASSERT_TRUE(dir.write("in.txt", c.input));
    ASSERT_TRUE(dir.write("plain.txt", c.plain));
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--source-name", "x"});
    std::vector<std::string> plainArgs = args;
    args.push_back("in.txt");
    plainArgs.push_back("plain.txt");
    const e2e::ProcessResult result = runImporter(args, dir.path());
    const e2e::ProcessResult plain = runImporter(plainArgs, dir.path());
    EXPECT_TRUE(result.exitedWith(0)) << result;
    EXPECT_TRUE(plain.exitedWith(0)) << plain;
    EXPECT_EQ(result.out, plain.out);
    // Routing tables have no relationships to disagree.
    if (result.err.find("conflicting adjacencies") != std::string::npos) {
      EXPECT_NE(result.err.find("conflicting adjacencies made unoriented: 0\n"), std::string::npos)
          << result.err;
    }
  }
}

// Names and arguments reach the terminal with their control bytes escaped,
// as the input text quoted in reasons does.
TEST(ImporterTest, NamesAndArgumentsAreShownEscaped) {
  struct Case {
    std::vector<std::string> args;
    std::string err;
    int status;
  };
  const std::string name = "in\x1b[2J\x7f.txt";
  const std::string shown = "in\\x1b[2J\\x7f.txt";
  const Case cases[] = {
      {{name}, shown + ":2: invalid AS number `x'\n", 3},
      {{"missing\x01\t"}, "Unable to open file `missing\\x01\t'\n(No such file or directory)\n", 2},
      {{"--relationships", "r\x1b]0;t\x07", "table"},
       "Unable to open file `r\\x1b]0;t\\x07'\n(No such file or directory)\n",
       2},
      {{"--format", "x\x1b[1m", name},
       "Syntax error: unknown format `x\\x1b[1m' (known: serial-1, serial-2, snap-caida, links, "
       "bgpdump, mrt)\nType plandrex-import --help for more information\n",
       1},
      {{"--\x1b[1m", name},
       "Syntax error: unknown option `--\\x1b[1m'\nType plandrex-import --help for more "
       "information\n",
       1},
      {{"l\x1bk", "table"},
       "Syntax error: several inputs are read as one routing table (format bgpdump) only, but "
       "`l\\x1bk' is in format links\nType plandrex-import --help for more information\n",
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.err);
    e2e::TempDir dir;
    ASSERT_TRUE(dir.write(name, "1|2|0\n1|x|0\n"));
    ASSERT_TRUE(dir.write("table", "1 2\n"));
    ASSERT_TRUE(dir.write("l\x1bk", "1 2\n"));
    const e2e::ProcessResult result = runImporter(c.args, dir.path());
    EXPECT_TRUE(result.exitedWith(c.status)) << result;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, c.err);
  }
}

TEST(ImporterTest, OutputFileIsReplacedWhole) {
  e2e::TempDir dir;
  ASSERT_TRUE(dir.write("in.txt", "1 2\n"));
  ASSERT_TRUE(dir.write("out.zng", std::string(10000, 'x')));
  const e2e::ProcessResult result = runImporter({"--quiet", "-o", "out.zng", "in.txt"}, dir.path());
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(dir.read("out.zng"), "ZNG\n1\nin.txt\n\n2\n1\n1\n2\n1 2 0 0 0 0 0 0\n");
  EXPECT_EQ(filesIn(dir), (std::set<std::string>{"in.txt", "out.zng"}));
}

TEST(ImporterTest, StandardOutputThatCannotBeWritten) {
  e2e::TempDir dir;
  ASSERT_TRUE(dir.write("in.txt", "1 2\n"));
  const e2e::ProcessResult graph =
      runImporter({"in.txt"}, dir.path(), StdinSource::nullDevice(), StdoutSink::file("/dev/full"));
  EXPECT_TRUE(graph.exitedWith(3)) << graph;
  EXPECT_EQ(graph.err, "Unable to write to standard output\n(No space left on device)\n");
  // Regression: an -o before --help named that file, which the help never goes to.
  const e2e::ProcessResult help =
      runImporter({"-o", "out.zng", "--help"}, dir.path(), StdinSource::nullDevice(),
                  StdoutSink::file("/dev/full"));
  EXPECT_TRUE(help.exitedWith(3)) << help;
  EXPECT_EQ(help.err, "Unable to write to standard output\n(No space left on device)\n");
  EXPECT_FALSE(dir.exists("out.zng"));
}

TEST(ImporterTest, VersionAndHelp) {
  e2e::TempDir dir;
  const e2e::ProcessResult version = runImporter({"--version"}, dir.path());
  EXPECT_TRUE(version.exitedWith(0)) << version;
  EXPECT_EQ(version.out, std::string("plandrex-import ") + PLANDREX_VERSION + "\n");
  EXPECT_EQ(version.err, "");

  const e2e::ProcessResult help = runImporter({"--help"}, dir.path());
  EXPECT_TRUE(help.exitedWith(0)) << help;
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(help.out.rfind("plandrex-import: ", 0), 0u);
  for (const char* word :
       {"Usage: plandrex-import [options] INPUT...\n", "\n  -o FILE ", "\n  --source-name NAME ",
        "\n  --description TEXT ", "\n  --format NAME ", "\n  --keep-self-loops ",
        "\n  --relationships FILE\n", "\n  --quiet ", "\n  --help ", "\n  --version ",
        "\n  serial-1 ", "\n  serial-2 ", "\n  snap-caida ", "\n  links ", "\n  bgpdump "}) {
    EXPECT_NE(help.out.find(word), std::string::npos) << word;
  }
  std::size_t start = 0;
  while (start < help.out.size()) {
    const std::size_t end = help.out.find('\n', start);
    ASSERT_NE(end, std::string::npos);
    EXPECT_LE(end - start, 79u) << help.out.substr(start, end - start);
    start = end + 1;
  }
}

}  // namespace
}  // namespace importer_test
