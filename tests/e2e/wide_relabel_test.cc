// 32-bit AS numbers in every mode, checked against the classic runs: a run on graphs whose AS
// numbers were relabelled in order (some into the 32-bit range, some left alone) must give the
// classic run's output with the same relabelling, whatever the mode and the mix of classic and
// wide inputs. The relabelling keeps the order, so nothing else may change.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/driver_fixtures.h"

namespace e2e {
namespace {

// Classic AS numbers of the random graphs, and what they become: in order, across the
// boundaries of the classic range and of the signed 32-bit range.
const std::vector<std::uint32_t> kWideNumbers = {
    1,          2,          7,          300,        65534,      65535,      65536,      65537,
    70000,      131072,     400000,     1000000,    16777216,   100000000,  2147483646, 2147483647,
    2147483648, 2147483649, 3000000000, 4000000000, 4294967293, 4294967294, 4294967295};

std::uint64_t relabel(std::uint64_t classic) { return kWideNumbers[classic - 1]; }

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

// A graph file (or a -l listing) with every AS number relabelled; a graph file that then holds
// a number above 65535 becomes a wide file.
std::string relabelGraph(const std::string& text) {
  std::vector<std::string> lines = linesOf(text);
  if (lines.empty() || (lines[0] != "ZNG" && lines[0] != "ZND")) {
    // A node list: "< N", "> N" or "| N".
    std::string out;
    for (const std::string& line : lines) {
      out += line.substr(0, 2) + std::to_string(relabel(std::stoull(line.substr(2)))) + "\n";
    }
    return out;
  }
  const std::size_t names = std::stoul(lines[1]);
  const std::size_t nodesAt = names + 5;
  const std::size_t nodes = std::stoul(lines[nodesAt - 2]);
  bool wide = false;
  for (std::size_t i = nodesAt; i < lines.size(); ++i) {
    std::istringstream columns(lines[i]);
    std::string out;
    std::string column;
    for (int c = 0; columns >> column; ++c) {
      if (c < (i < nodesAt + nodes ? 1 : 2)) {
        const std::uint64_t as = relabel(std::stoull(column));
        wide = wide || as > 65535;
        column = std::to_string(as);
      }
      out += (c == 0 ? "" : " ") + column;
    }
    lines[i] = out;
  }
  if (wide) {
    lines[0] += "32";
  }
  std::string out;
  for (const std::string& line : lines) {
    out += line + "\n";
  }
  return out;
}

// The classic numbers that relabel to classic numbers: a graph of these alone stays classic.
constexpr std::uint32_t kStayClassic = 6;

// A random graph over the classic numbers 1 to pool, with repeated and dangling adjacencies
// and self-loops; differential graphs carry the history columns.
std::string randomGraph(std::mt19937& rng, bool differential, std::uint32_t pool) {
  auto below = [&rng](std::uint32_t n) { return static_cast<std::uint32_t>(rng() % n); };
  std::vector<std::uint32_t> nodes;
  for (std::uint32_t as = 1; as <= pool; ++as) {
    if (below(3) != 0) {
      nodes.push_back(as);
    }
  }
  std::vector<std::string> edges;
  const std::uint32_t edgeCount = below(40);
  for (std::uint32_t i = 0; i < edgeCount; ++i) {
    std::ostringstream line;
    line << 1 + below(pool) << ' ' << 1 + below(pool) << ' ' << below(2) << ' '
         << static_cast<int>(below(3)) - 1 << ' ' << below(9) << ' ' << below(999) << ' '
         << below(9) << ' ' << below(999);
    if (differential) {
      line << ' ' << below(2) << ' ' << below(2) << ' ' << static_cast<int>(below(3)) - 1 << ' '
           << static_cast<int>(below(3)) - 1 << " 1 2 3 4";
      for (int c = 0; c < 6; ++c) {
        line << ' ' << below(5);
      }
      line << " 1.500000";
    }
    edges.push_back(line.str());
  }
  std::ostringstream text;
  text << (differential ? "ZND" : "ZNG") << "\n1\nsource.zng\nrandom\n"
       << nodes.size() << '\n'
       << edges.size() << '\n';
  for (std::uint32_t as : nodes) {
    text << as << '\n';
  }
  for (const std::string& edge : edges) {
    text << edge << '\n';
  }
  return text.str();
}

class WideRelabelTest : public DriverTest {};

TEST_F(WideRelabelTest, EveryModeGivesTheClassicOutputRelabelled) {
  std::mt19937 rng(16);
  const std::vector<std::vector<std::string>> modes = {{},
                                                       {"-l"},
                                                       {"--over:a"},
                                                       {"--over:xyw,oU"},
                                                       {"--comp:a,A"},
                                                       {"--comp:pD"},
                                                       {"-n", "--over:u"},
                                                       {"--multi"}};
  int wideRuns = 0;
  int mixedRuns = 0;
  for (int round = 0; round < 60; ++round) {
    const std::vector<std::string>& mode = modes[round % modes.size()];
    const int inputs = mode == std::vector<std::string>{"--multi"} ? 2 + round % 3 : 2;
    std::vector<std::string> args = mode;
    std::vector<std::string> classicGraphs;
    std::vector<std::string> wideGraphs;
    const bool fromStdin = round % 5 == 0;
    for (int i = 0; i < inputs; ++i) {
      // Some inputs stay classic files when relabelled: a mix of classic and wide inputs.
      const auto pool =
          static_cast<std::uint32_t>(rng() % 3 == 0 ? kStayClassic : kWideNumbers.size());
      classicGraphs.push_back(randomGraph(rng, rng() % 4 == 0, pool));
      wideGraphs.push_back(relabelGraph(classicGraphs.back()));
      args.push_back(fromStdin && i == 1 ? "-" : std::to_string(i) + ".zng");
    }
    // The same names for both runs: the written graphs name their sources.
    auto runOn = [&](const std::vector<std::string>& graphs) {
      for (int i = 0; i < inputs; ++i) {
        EXPECT_TRUE(dir.write(std::to_string(i) + ".zng", graphs[i]));
      }
      return run(args, StdinSource::bytes(fromStdin ? graphs[1] : ""));
    };
    SCOPED_TRACE("round " + std::to_string(round));
    const auto isWide = [](const std::string& graph) { return graph.compare(3, 3, "32\n") == 0; };
    const auto wideInputs = std::count_if(wideGraphs.begin(), wideGraphs.end(), isWide);
    mixedRuns += wideInputs > 0 && wideInputs < inputs;
    const ProcessResult classic = runOn(classicGraphs);
    const ProcessResult wide = runOn(wideGraphs);
    ASSERT_TRUE(classic.exitedWith(0)) << classic;
    ASSERT_TRUE(wide.exitedWith(0)) << wide;
    if (mode.empty()) {
      EXPECT_EQ(wide.out, classic.out);
    } else {
      EXPECT_EQ(wide.out, relabelGraph(classic.out));
      wideRuns += wide.out.find("32\n") != std::string::npos;
    }
    EXPECT_EQ(wide.err, classic.err);
  }
  // The check means something only if wide outputs and mixed inputs were met.
  EXPECT_GT(wideRuns, 10);
  EXPECT_GT(mixedRuns, 5);
}

// The order of large numbers is the unsigned one, in -l and in the written graphs.
TEST_F(WideRelabelTest, LargeNumbersOrderAsUnsigned) {
  ASSERT_TRUE(dir.write("w.zng",
                        "ZNG32\n1\nw\n\n4\n3\n4294967295\n65536\n2147483648\n65535\n"
                        "4294967295 65535 1 1 0 0 0 0\n"
                        "2147483648 65536 1 0 0 0 0 0\n"
                        "65536 65535 0 0 0 0 0 0\n"));
  ASSERT_TRUE(dir.write("c.zng", "ZNG\n1\nc\n\n1\n0\n65535\n"));
  const ProcessResult list = run({"-l", "w.zng", "c.zng"});
  ASSERT_TRUE(list.exitedWith(0)) << list;
  EXPECT_EQ(list.out, "| 65535\n< 65536\n< 2147483648\n< 4294967295\n");
  const ProcessResult comp = run({"--comp:a", "w.zng", "c.zng"});
  ASSERT_TRUE(comp.exitedWith(0)) << comp;
  EXPECT_EQ(comp.out,
            "ZNG32\n2\nw.zng\nc.zng\n\n4\n3\n65535\n65536\n2147483648\n4294967295\n"
            "65535 65536 0 0 0 0 0 0\n"
            "65535 4294967295 1 -1 0 0 0 0\n"
            "65536 2147483648 1 0 0 0 0 0\n");
}

// Reading the wide file: its range, and the markers that are not it.
TEST_F(WideRelabelTest, ReaderRangesAndMarkers) {
  struct Case {
    const char* text;
    int status;
    const char* err;
  };
  const Case cases[] = {
      {"ZNG32\n1\nw\n\n1\n0\n4294967295\n", 0, ""},
      {"ZNG32\n1\nw\n\n1\n0\n+004294967295\n", 0, ""},
      {"ZNG32\n1\nw\n\n1\n0\n4294967296\n", 3, "Invalid AS number: `4294967296'"},
      {"ZNG32\n1\nw\n\n1\n0\n0\n", 3, "Invalid AS number: `0'"},
      {"ZNG32\n1\nw\n\n1\n0\n-1\n", 3, "Invalid AS number: `-1'"},
      {"ZND32\n1\nw\n\n2\n1\n1\n99999\n1 99999 1 1 0 0 0 0 1 1 1 1 0 0 0 0 1 0 1 0 0 0 1\n", 0, ""},
      {"ZNG32\n1\nw\n\n1\n1\n1\n1 4294967296 1 1 0 0 0 0\n", 3, "Invalid AS number: `4294967296'"},
      {"ZNG\n1\nw\n\n1\n0\n65536\n", 3, "Invalid AS number: `65536'"},
      {"ZNG32 \n1\nw\n\n0\n0\n", 3, "Invalid file type string: `ZNG32 '"},
      {"zng32\n1\nw\n\n0\n0\n", 3, "Invalid file type string: `zng32'"},
      {"ZNG3\n1\nw\n\n0\n0\n", 3, "Invalid file type string: `ZNG3'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ASSERT_TRUE(dir.write("x.zng", c.text));
    const ProcessResult result = run({"-l", "x.zng", "x.zng"});
    EXPECT_TRUE(result.exitedWith(c.status)) << result;
    EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
  }
}

}  // namespace
}  // namespace e2e
