#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "asgraph/as_graph.h"
#include "tests/asgraph/graph_text.h"

namespace {

// Header of a file with nodes 1 and 2 and one edge line to follow.
const std::string kPlainHead = "ZNG\n1\nsrc\n\n2\n1\n1\n2\n";
const std::string kDiffHead = "ZND\n1\nsrc\n\n2\n1\n1\n2\n";
const std::string kDiffTail = " 1 1 1 -1 118 704 5 640 2 1 1 0 0 0 0.000000\n";

// Differential edge line with column col (1-based, 9 to 23) replaced.
std::string diffLine(int col, const std::string& token) {
  const char* cols[] = {"1", "2", "0", "0", "1", "1", "1", "1", "1", "1", "1",  "-1",
                        "1", "1", "1", "1", "2", "1", "1", "0", "0", "0", "0.5"};
  std::string line;
  for (int i = 0; i < 23; ++i) {
    line += (i ? " " : "") + (i + 1 == col ? token : std::string(cols[i]));
  }
  return line + "\n";
}

std::string repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) {
    out += text;
  }
  return out;
}

TEST(GraphFileReaderTest, EveryReasonWithItsText) {
  struct Case {
    std::string file;
    std::string reason;
  };
  const Case cases[] = {
      {"", "Could not retrieve file type string"},
      {"zng\n", "Invalid file type string: `zng'"},
      {"ZNG \n", "Invalid file type string: `ZNG '"},
      {"ZNGX\n1\n", "Invalid file type string: `ZNGX'"},
      {"ZNG\n", "Could not retrieve number of source files"},
      {"ZNG\n0\n", "Invalid number of source files: `0'"},
      {"ZNG\n65537\n", "Invalid number of source files: `65537'"},
      {"ZNG\n\n", "Invalid number of source files: `'"},
      {"ZNG\n1 \n", "Invalid number of source files: `1 '"},
      {"ZNG\n2\na\n", "Could not retrieve all the source file names"},
      {"ZNG\n1\na\n", "Unable to retrieve graph description string"},
      {"ZNG\n1\na\n\n", "Could not retrieve number of nodes"},
      {"ZNG\n1\na\n\nx\n", "Invalid number of nodes: `x'"},
      {"ZNG\n1\na\n\n0\n", "Could not retrieve number of edges"},
      {"ZNG\n1\na\n\n0\n5 \n", "Invalid number of edges: `5 '"},
      {"ZNG\n1\na\n\n2\n0\n1\n", "Unable to retrieve all the nodes"},
      {"ZNG\n1\na\n\n1\n0\n0\n", "Invalid AS number: `0'"},
      {"ZNG\n1\na\n\n1\n0\n65536\n", "Invalid AS number: `65536'"},
      {"ZNG\n1\na\n\n1\n0\n42 \n", "Invalid AS number: `42 '"},
      {"ZNG\n1\na\n\n1\n0\n\n", "Invalid AS number: `'"},
      {kPlainHead, "Unable to retrieve all the edges"},
      {kPlainHead + "1 2 1\n", "Invalid edge line format: `1 2 1'"},
      {kPlainHead + "\n", "Invalid edge line format: `'"},
      {kPlainHead + "1 2 1 1 0 0 0\n", "Invalid edge line format: `1 2 1 1 0 0 0'"},
      {kDiffHead + "1 2 1 1 0 0 0 0\n", "Invalid edge line format: `1 2 1 1 0 0 0 0'"},
      // Columns are checked in order: a bad token before a missing one.
      {kPlainHead + "1 x 1\n", "Invalid AS number: `x'"},
      {kPlainHead + "0 2 1 1 0 0 0 0\n", "Invalid AS number: `0'"},
      {kPlainHead + "1 65536 1 1 0 0 0 0\n", "Invalid AS number: `65536'"},
      {kPlainHead + "1 2 2 1 0 0 0 0\n", "Invalid edge direction flag: `2'"},
      {kPlainHead + "1 2 01 1 0 0 0 0\n", "Invalid edge direction flag: `01'"},
      {kPlainHead + "1 2 1 2 0 0 0 0\n", "Invalid edge direction: `2'"},
      {kPlainHead + "1 2 1 -2 0 0 0 0\n", "Invalid edge direction: `-2'"},
      {kPlainHead + "1 2 1 1 5x 0 0 0\n", "Invalid path covering value: `5x'"},
      {kPlainHead + "1 2 1 1 0 0x1 0 0\n", "Invalid IP address covering value: `0x1'"},
      {kPlainHead + "1 2 1 1 0 0 1.0 0\n", "Invalid path covering value: `1.0'"},
      {kPlainHead + "1 2 1 1 0 0 0 \t\n", "Invalid IP address covering value: `\t'"},
      {kDiffHead + diffLine(9, "x"), "Invalid edge direction flag: `x'"},
      {kDiffHead + diffLine(10, "-1"), "Invalid edge direction flag: `-1'"},
      {kDiffHead + diffLine(11, "5"), "Invalid edge direction: `5'"},
      {kDiffHead + diffLine(12, "1.0"), "Invalid edge direction: `1.0'"},
      {kDiffHead + diffLine(13, "a"), "Invalid path covering value: `a'"},
      {kDiffHead + diffLine(14, "b"), "Invalid IP address covering value: `b'"},
      {kDiffHead + diffLine(15, "c"), "Invalid path covering value: `c'"},
      {kDiffHead + diffLine(16, "d"), "Invalid IP address covering value: `d'"},
      {kDiffHead + diffLine(17, "e"), "Invalid compared graphs count value: `e'"},
      {kDiffHead + diffLine(18, "f"), "Invalid value for number of incoming edges: `f'"},
      {kDiffHead + diffLine(19, "g"), "Invalid value for number of outgoing edges: `g'"},
      {kDiffHead + diffLine(20, "h"), "Invalid value for number of undirected edges: `h'"},
      {kDiffHead + diffLine(21, "i"), "Invalid value for number of unoriented edges: `i'"},
      {kDiffHead + diffLine(22, "j"), "Invalid value for number of orientation changes: `j'"},
      {kDiffHead + diffLine(23, "0.5x"), "Invalid value for orientation stability: `0.5x'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("file `" + c.file + "'");
    ASGraph g;
    EXPECT_FALSE(readText(g, c.file));
    EXPECT_EQ(std::string(g.errReason()), c.reason);
  }
}

TEST(GraphFileReaderTest, AcceptedVariants) {
  struct Case {
    const char* name;
    std::string file;
    std::uint32_t nodes;
    std::uint32_t edges;
  };
  const Case cases[] = {
      {"CRLF line ends", "ZNG\r\n1\r\na\r\n\r\n2\r\n1\r\n1\r\n2\r\n1 2 1 1 0 0 0 0\r\n", 2, 1},
      {"last line without line end", kPlainHead + "1 2 1 1 0 0 0 0", 2, 1},
      {"blank before a node", "ZNG\n1\na\n\n1\n0\n 42\n", 1, 0},
      {"signed counts and node", "ZNG\n+1\na\n\n+1\n+0\n+42\n", 1, 0},
      {"empty edge count", "ZNG\n1\na\n\n1\n\n42\n", 1, 0},
      {"empty node and edge counts", "ZNG\n1\na\n\n\n\n", 0, 0},
      {"extra columns in a plain graph", kPlainHead + "1 2 1 1 0 0 0 0 9 junk\n", 2, 1},
      {"extra columns in a differential graph",
       kDiffHead + "1 2 0 0 1 1 1 1" + kDiffTail.substr(0, kDiffTail.size() - 1) + " more\n", 2, 1},
      {"runs of blanks", kPlainHead + "  1   2 1  1 0 0 0 0  \n", 2, 1},
      {"edge to an unlisted node", kPlainHead + "1 3 1 1 0 0 0 0\n", 2, 0},
      {"repeated node", "ZNG\n1\na\n\n3\n0\n5\n5\n6\n", 2, 0},
      {"65536 source files", "ZNG\n65536\n" + repeat("n\n", 65536) + "\n0\n0\n", 0, 0},
      {"text after the last edge is ignored", kPlainHead + "1 2 1 1 0 0 0 0\ngarbage\n", 2, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASGraph g;
    EXPECT_TRUE(readText(g, c.file)) << g.errReason();
    EXPECT_STREQ(g.errReason(), "");
    EXPECT_EQ(g.nodes(), c.nodes);
    EXPECT_EQ(g.edges(), c.edges);
  }
}

// Before lines could be of any length, a long line was read in pieces and
// shifted the rest of the file.
TEST(GraphFileReaderTest, LongLinesAreReadWhole) {
  const std::string name(5000, 'n');
  const std::string comment(700, 'c');
  ASGraph g;
  ASSERT_TRUE(readText(g, "ZNG\n1\n" + name + "\n" + comment + "\n0\n0\n")) << g.errReason();
  EXPECT_EQ(std::string(g.getSourceFiles().first()), name);
  EXPECT_EQ(std::string(g.getComment()), comment.substr(0, 512));
}

// A reason quoting a long line used to overrun the reason buffer.
TEST(GraphFileReaderTest, LongReasonsKeepTheirClosingQuote) {
  const std::string prefix = "Invalid file type string: `";
  for (std::size_t length : {511 - prefix.size(), 512 - prefix.size(), 2000ul}) {
    SCOPED_TRACE(length);
    const std::string line(length, 'z');
    ASGraph g;
    EXPECT_FALSE(readText(g, line + "\n"));
    const std::string reason = g.errReason();
    const std::size_t kept = std::min(length, 512 - prefix.size() - 1);
    EXPECT_EQ(reason, prefix + line.substr(0, kept) + "'");
    EXPECT_LE(reason.size(), 512u);
  }
}

// Reasons used to quote input verbatim, so a file could clear the screen or
// retitle the window of whoever was shown the error.
TEST(GraphFileReaderTest, QuotedControlBytesAreEscaped) {
  struct Case {
    std::string file;
    std::string reason;
  };
  const Case cases[] = {
      {"\x1b[2J\x1b]0;owned\a\n", "Invalid file type string: `\\x1b[2J\\x1b]0;owned\\x07'"},
      {std::string("Z\x01\x1f\x7f", 4) + "\n", "Invalid file type string: `Z\\x01\\x1f\\x7f'"},
      {"ZNG\tX\n", "Invalid file type string: `ZNG\tX'"},
      {"ZNG\x0b\x0c\n", "Invalid file type string: `ZNG\\x0b\\x0c'"},
      {"\xc3\xa9t\xc3\xa9 \x80\xff\n", "Invalid file type string: `\xc3\xa9t\xc3\xa9 \x80\xff'"},
      {"ZNG\n1\x1b\n", "Invalid number of source files: `1\\x1b'"},
      {"ZNG\n1\na\n\n1\n0\n\x08\x08\n", "Invalid AS number: `\\x08\\x08'"},
      {kPlainHead + "1 2 1 1 5 5 5 \x1b[0m\n", "Invalid IP address covering value: `\\x1b[0m'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    ASGraph g;
    EXPECT_FALSE(readText(g, c.file));
    EXPECT_EQ(std::string(g.errReason()), c.reason);
  }

  // The cut counts input bytes, so a long run of control bytes keeps as many
  // bytes as a long run of letters and grows four times in the reason.
  const std::string prefix = "Invalid file type string: `";
  const std::size_t kept = 512 - prefix.size() - 1;
  ASGraph g;
  EXPECT_FALSE(readText(g, std::string(2000, '\x1b') + "\n"));
  EXPECT_EQ(std::string(g.errReason()), prefix + repeat("\\x1b", static_cast<int>(kept)) + "'");
}

TEST(GraphFileReaderTest, BareCarriageReturnsDoNotEndLines) {
  ASGraph g;
  EXPECT_FALSE(readText(g, "ZNG\r1\ra\r\r0\r0\r"));
  EXPECT_STREQ(g.errReason(), "Could not retrieve number of source files");
  EXPECT_FALSE(g.isDifferential());
}

TEST(GraphFileReaderTest, NumbersAtTheirLimits) {
  ASGraph g;
  ASSERT_TRUE(readText(g, kDiffHead +
                              "1 2 1 -1 -1 -1 4294967296 18446744073709551616 0 1 -1 1 "
                              "4294967295 18446744073709551615 0 0 65536 70000 -1 4294967296 "
                              "65535 -65535 1e-1\n"))
      << g.errReason();
  ASGraph::graph_edge* e = g.edgeProperties(1, 2);
  ASSERT_NE(e, nullptr);
  const ASEdgeWeight& f = *e->fwdWeight;
  const ASEdgeWeight& r = *e->revWeight;
  EXPECT_EQ(*e->dir, dir_backward);
  EXPECT_EQ(f.pathCovering[0], 4294967295u);
  EXPECT_EQ(f.ipCovering[0], 18446744073709551615ull);
  EXPECT_EQ(r.pathCovering[0], 4294967295u);
  EXPECT_EQ(r.ipCovering[0], 18446744073709551615ull);
  EXPECT_EQ(f.pathCovering[1], 4294967295u);
  EXPECT_EQ(f.ipCovering[1], 18446744073709551615ull);
  // Columns 17 to 22 keep the 32-bit value modulo 65536.
  EXPECT_EQ(f.comparedGraphs, 0);
  EXPECT_EQ(f.incomingEdges, 70000 - 65536);
  EXPECT_EQ(f.outgoingEdges, 65535);
  EXPECT_EQ(f.undirectedEdges, 65535);
  EXPECT_EQ(f.unorientedEdges, 65535);
  EXPECT_EQ(f.orientationChanges, 1);
  EXPECT_EQ(f.orientationStability, 0.1f);
  ASGraph::freeView(e);
  expectGraphAsRead(g);
}

TEST(GraphFileReaderTest, PlainExampleFillsBothRecords) {
  const std::string file =
      "ZNG\n2\ndump-a.txt\ndump-b.txt\n\n3\n2\n7\n11\n300\n"
      "7 11 1 1 120 768 3 512\n11 300 0 0 8 256 8 256\n";
  ASGraph g;
  ASSERT_TRUE(readText(g, file)) << g.errReason();
  EXPECT_FALSE(g.isDifferential());
  EXPECT_EQ(g.getSourceFiles().len(), 2u);
  EXPECT_STREQ(g.getSourceFiles().last(), "dump-b.txt");
  EXPECT_EQ(g.nodes(), 3u);
  EXPECT_EQ(g.edges(), 2u);

  ASGraph::graph_edge* e = g.edgeProperties(11, 7);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(*e->dir, dir_backward);
  EXPECT_TRUE(e->fwdWeight->oriented);
  EXPECT_EQ(e->fwdWeight->pathCovering[0], 3u);
  EXPECT_EQ(e->fwdWeight->ipCovering[0], 512u);
  EXPECT_EQ(e->revWeight->pathCovering[0], 120u);
  EXPECT_EQ(e->revWeight->ipCovering[0], 768u);
  // Fields a plain file does not carry stay at their defaults.
  EXPECT_EQ(e->fwdWeight->comparedGraphs, 1);
  EXPECT_FALSE(e->fwdWeight->srcOriented[0]);
  ASGraph::freeView(e);
  e = g.edgeProperties(11, 300);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(*e->dir, dir_none);
  EXPECT_FALSE(e->revWeight->oriented);
  ASGraph::freeView(e);
  expectGraphAsRead(g);
  EXPECT_EQ(writeText(g), file);
}

TEST(GraphFileReaderTest, DifferentialExampleFillsBothRecords) {
  const std::string file =
      "ZND\n1\nmulti\nfolded twice\n2\n1\n7\n11\n"
      "7 11 0 0 120 768 3 512 1 1 1 -1 118 704 5 640 2 1 1 0 0 0 0.000000\n";
  ASGraph g;
  ASSERT_TRUE(readText(g, file)) << g.errReason();
  EXPECT_TRUE(g.isDifferential());
  EXPECT_STREQ(g.getComment(), "folded twice");
  ASGraph::graph_edge* e = g.edgeProperties(7, 11);
  ASSERT_NE(e, nullptr);
  const ASEdgeWeight& f = *e->fwdWeight;
  const ASEdgeWeight& r = *e->revWeight;
  EXPECT_EQ(*e->dir, dir_none);
  EXPECT_FALSE(f.oriented);
  EXPECT_TRUE(f.srcOriented[0] && f.srcOriented[1]);
  EXPECT_EQ(f.srcDirection[0], dir_forward);
  EXPECT_EQ(f.srcDirection[1], dir_backward);
  EXPECT_EQ(r.srcDirection[0], dir_backward);
  EXPECT_EQ(r.srcDirection[1], dir_forward);
  EXPECT_EQ(f.pathCovering[1], 118u);
  EXPECT_EQ(f.ipCovering[1], 704u);
  EXPECT_EQ(r.pathCovering[1], 5u);
  EXPECT_EQ(r.ipCovering[1], 640u);
  EXPECT_EQ(f.comparedGraphs, 2);
  EXPECT_EQ(r.comparedGraphs, 2);
  EXPECT_EQ(f.incomingEdges, 1);
  EXPECT_EQ(f.outgoingEdges, 1);
  EXPECT_EQ(f.orientationStability, 0.0f);
  ASGraph::freeView(e);
  expectGraphAsRead(g);
  EXPECT_EQ(writeText(g), file);
}

TEST(GraphFileReaderTest, RepeatedAdjacenciesFollowTheMergeRules) {
  ASGraph g;
  ASSERT_TRUE(readText(g,
                       "ZNG\n1\na\n\n3\n4\n1\n2\n3\n"
                       "1 2 1 1 5 5 5 5\n"    // new, 1 -> 2
                       "1 2 1 1 6 6 6 6\n"    // same direction: kept as it was
                       "2 1 1 1 7 7 8 8\n"    // opposite direction: cancelled, overwritten
                       "3 3 1 1 9 9 9 9\n"))  // self-loop, counted once
      << g.errReason();
  EXPECT_EQ(g.edges(), 2u);
  ASGraph::graph_edge* e = g.edgeProperties(1, 2);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(*e->dir, dir_none);
  EXPECT_EQ(e->fwdWeight->pathCovering[0], 8u);
  EXPECT_EQ(e->revWeight->pathCovering[0], 7u);
  ASGraph::freeView(e);
  expectGraphAsRead(g);
}

TEST(GraphFileReaderTest, FailedReadKeepsWhatItReadAndAddsToTheGraph) {
  ASGraph g;
  ASSERT_TRUE(readText(g, "ZND\n1\nfirst\nold\n1\n0\n9\n"));
  EXPECT_FALSE(readText(g,
                        "ZNG\n2\nx\ny\nnew\n3\n3\n1\n2\n3\n"
                        "1 2 1 1 0 0 0 0\n1 3 0 0 0 0 0 0\n2 3 1 9 0 0 0 0\n"));
  EXPECT_STREQ(g.errReason(), "Invalid edge direction: `9'");
  EXPECT_EQ(g.nodes(), 4u);
  EXPECT_EQ(g.edges(), 2u);
  EXPECT_EQ(g.getSourceFiles().len(), 3u);
  EXPECT_STREQ(g.getComment(), "new");
  EXPECT_FALSE(g.isDifferential());
  expectGraphAsRead(g);
}

TEST(GraphFileReaderTest, EveryCutOfAValidFileFailsCleanlyOrReadsAPrefix) {
  const std::string file =
      "ZND\r\n2\r\na b\r\n\r\nnote\r\n3\r\n3\r\n1\r\n2\r\n3\r\n"
      "1 2 1 1 7 8 9 10 1 0 1 0 11 12 13 14 3 1 0 2 0 1 1.250000\r\n"
      "1 3 0 0 1 2 3 4 0 1 0 -1 5 6 7 8 2 0 1 0 1 1 0.500000\r\n"
      "2 2 1 0 1 1 1 1 1 1 0 0 1 1 1 1 1 0 0 1 0 0 1.000000\r\n";
  for (std::size_t cut = 0; cut <= file.size(); ++cut) {
    SCOPED_TRACE(cut);
    ASGraph g;
    if (readText(g, file.substr(0, cut))) {
      EXPECT_STREQ(g.errReason(), "");
      EXPECT_EQ(g.nodes(), 3u);
      expectGraphAsRead(g);
    } else {
      EXPECT_NE(std::string(g.errReason()), "");
      EXPECT_LE(g.edges(), 3u);
    }
  }
}

// Reads text through a memory stream, which has no file behind it and is
// therefore read line by line, as standard input and pipes are.
bool readTextLineByLine(ASGraph& graph, const std::string& text) {
  std::string copy = text;
  FILE* stream = copy.empty() ? std::fopen("/dev/null", "r") : fmemopen(&copy[0], copy.size(), "r");
  EXPECT_NE(stream, nullptr);
  bool ok = graph.readFromFile(stream);
  std::fclose(stream);
  return ok;
}

// Everything a read leaves behind that a caller can see.
std::string outcome(ASGraph& graph, bool ok) {
  return std::to_string(ok) + "|" + graph.errReason() + "|" + std::to_string(graph.nodes()) + "|" +
         std::to_string(graph.edges()) + "|" + writeText(graph);
}

// A valid file with every column at random, and one fault or odd token now
// and then; some lines end in CR LF, the last one may lack its line feed.
std::string randomFile(std::mt19937& random, bool differential, int faultOneIn) {
  auto pick = [&](std::initializer_list<const char*> choices) {
    return std::string(choices.begin()[random() % choices.size()]);
  };
  auto number = [&](unsigned maxDigits) {
    std::string digits = std::to_string(random() % 10);
    for (unsigned n = random() % maxDigits; n > 0; --n) {
      digits += static_cast<char>('0' + random() % 10);
    }
    return digits;
  };
  std::string file = differential ? "ZND\n1\nsrc\nnote\n" : "ZNG\n1\nsrc\nnote\n";
  const int edges = 1 + static_cast<int>(random() % 40);
  file += "9\n" + std::to_string(edges) + "\n";
  for (int as = 1; as <= 9; ++as) {
    file +=
        std::to_string(as) + (random() % faultOneIn == 0 ? pick({"x", " ", "\r", "0"}) : "") + "\n";
  }
  for (int i = 0; i < edges; ++i) {
    std::vector<std::string> columns = {std::to_string(1 + random() % 10),
                                        std::to_string(1 + random() % 10),
                                        pick({"0", "1"}),
                                        pick({"-1", "0", "1"}),
                                        number(11),
                                        number(21),
                                        number(9),
                                        number(20)};
    if (differential) {
      for (const char* flagOrDirection : {"f", "f", "d", "d"}) {
        columns.push_back(flagOrDirection[0] == 'f' ? pick({"0", "1"}) : pick({"-1", "0", "1"}));
      }
      for (int n = 0; n < 4; ++n) {
        columns.push_back(number(n % 2 == 0 ? 10 : 20));
      }
      for (int n = 0; n < 6; ++n) {
        columns.push_back(number(6));
      }
      char stability[32];
      std::snprintf(stability, sizeof stability, "%f",
                    static_cast<double>(random() % 1000001) / 1e6);
      columns.push_back(random() % 8 == 0 ? pick({"3e2", "16.777217", "-0.5", ".5", "1.", "nan"})
                                          : stability);
    }
    if (random() % faultOneIn == 0) {
      columns[random() % columns.size()] =
          pick({"+1", "-0", "00", "-01", "\t5", "5x", "", "x", "65536", "0", "-2", "2",
                "99999999999999999999", "4294967296", "1.5", "\r", std::string("\0", 1).c_str()});
    }
    std::string line;
    for (const std::string& column : columns) {
      line += (line.empty() ? "" : pick({" ", " ", " ", "  "})) + column;
    }
    file += line + pick({"\n", "\n", "\r\n", " \n"});
  }
  if (random() % 4 == 0) {
    file.pop_back();
  }
  return file;
}

// Named files are read in large blocks, standard input and memory streams
// line by line: both must leave the same graph and the same reason, on every
// cut of a file and on files with faults anywhere.
TEST(GraphFileReaderTest, BlockReadsAndLineByLineReadsAgree) {
  std::mt19937 random(41);
  std::vector<std::string> files;
  for (int i = 0; i < 150; ++i) {
    files.push_back(randomFile(random, i % 3 == 0, i % 2 == 0 ? 3 : 40));
  }
  const std::string whole = randomFile(random, true, 1000);
  for (std::size_t cut = 0; cut <= whole.size(); cut += 11) {
    files.push_back(whole.substr(0, cut));
  }
  for (const std::string& file : files) {
    SCOPED_TRACE("file `" + file + "'");
    ASGraph byBlocks;
    ASGraph byLines;
    const bool blocksOk = readText(byBlocks, file);
    const bool linesOk = readTextLineByLine(byLines, file);
    EXPECT_EQ(outcome(byBlocks, blocksOk), outcome(byLines, linesOk));
  }
}

// Each edge line is read in one quick pass when its tokens are of the usual
// shape and by the full checks otherwise. Leading zeros on the first AS
// number send a line the full way without changing its values: both ways must
// store the same values, column for column.
TEST(GraphFileReaderTest, QuickAndFullReadsOfALineStoreTheSame) {
  std::mt19937 random(43);
  for (int i = 0; i < 200; ++i) {
    const std::string file = randomFile(random, i % 2 == 0, 1000000);
    std::string slow;
    std::size_t lineStart = 0;
    int lineNumber = 0;
    while (lineStart < file.size()) {
      std::size_t lineEnd = file.find('\n', lineStart);
      lineEnd = lineEnd == std::string::npos ? file.size() : lineEnd + 1;
      // Lines 16 on are the edge lines (4 header lines, 2 counts, 9 nodes).
      slow +=
          (++lineNumber >= 16 ? "0000000000" : "") + file.substr(lineStart, lineEnd - lineStart);
      lineStart = lineEnd;
    }
    SCOPED_TRACE("file `" + file + "'");
    ASGraph quick;
    ASGraph full;
    const bool quickOk = readText(quick, file);
    const bool fullOk = readText(full, slow);
    EXPECT_TRUE(quickOk) << quick.errReason();
    EXPECT_EQ(outcome(quick, quickOk), outcome(full, fullOk));
  }
}

// A line over 1 MiB used to be held whole, so /dev/zero grew without end.
// Wherever it is, read in blocks or line by line, it ends the read with its
// first 512 bytes quoted.
TEST(GraphFileReaderTest, LineOverOneMebibyteEndsTheRead) {
  const std::string prefix = "Line too long (over 1048576 bytes): `";
  const std::string longest(1 << 20, '7');
  const std::string over = std::string(600, '\x1b') + longest;
  const std::string escapedStart = repeat("\\x1b", 512) + "'";
  struct Case {
    std::string file;
    std::string reason;
  };
  const Case cases[] = {
      {over + "\n", prefix + escapedStart},
      {"ZNG\n1\n" + over, prefix + escapedStart},
      {kPlainHead + "1 2 1 1 0 0 0 " + longest + "\n", prefix + "1 2 1 1 0 0 0 " +
                                                         longest.substr(0, 512 - 14) + "'"},
      // At the limit the line is read, and judged as any other.
      {"ZNG\n1\n" + longest + "\n", "Unable to retrieve graph description string"},
  };
  // A stream without line feeds (a device read line by line) ends at once.
  FILE* zeros = std::fopen("/dev/zero", "r");
  ASSERT_NE(zeros, nullptr);
  ASGraph endless;
  EXPECT_FALSE(endless.readFromFile(zeros));
  std::fclose(zeros);
  EXPECT_EQ(std::string(endless.errReason()), prefix + repeat("\\x00", 512) + "'");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file.substr(0, 40));
    ASGraph byBlocks;
    EXPECT_FALSE(readText(byBlocks, c.file));
    EXPECT_EQ(std::string(byBlocks.errReason()), c.reason);
    ASGraph byLines;
    EXPECT_FALSE(readTextLineByLine(byLines, c.file));
    EXPECT_EQ(std::string(byLines.errReason()), c.reason);
  }
}

// Standard input is read only as far as the graph goes, whatever it is: the
// rest stays for whoever reads it next.
TEST(GraphFileReaderTest, StandardInputIsReadOnlyUpToTheGraph) {
  char name[] = "/tmp/graph_file_reader_test.XXXXXX";
  const int descriptor = mkstemp(name);
  ASSERT_GE(descriptor, 0);
  const std::string text = kPlainHead + "1 2 1 1 0 0 0 0\nnext\n";
  ASSERT_EQ(write(descriptor, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  close(descriptor);
  ASSERT_NE(std::freopen(name, "r", stdin), nullptr);
  ASGraph g;
  EXPECT_TRUE(g.readFromFile(stdin)) << g.errReason();
  EXPECT_EQ(g.edges(), 1u);
  char rest[16] = {0};
  EXPECT_NE(std::fgets(rest, sizeof rest, stdin), nullptr);
  EXPECT_STREQ(rest, "next\n");
  EXPECT_NE(std::freopen("/dev/null", "r", stdin), nullptr);
  unlink(name);
}

}  // namespace
