#include "table/table_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct OptionCase {
  std::vector<const char*> args;
  const char* reason;  // nullptr: accepted
};

const OptionCase kCases[] = {
    {{"report", "a", "b"}, nullptr},
    {{"report", "-", "b", "c"}, nullptr},
    {{"report", "--json", "--base", "--quiet", "--plot", "p.svg", "-o", "t.json", "a", "b"},
     nullptr},
    {{"report", "--plot=p.svg", "-ot.csv", "a", "--", "-b"}, nullptr},
    {{"edges", "a"}, nullptr},
    {{"nodes", "-", "b"}, nullptr},
    {{"report", "--help"}, nullptr},
    {{"--version"}, nullptr},
    {{"snapshots", "a"}, nullptr},
    {{"history", "--dates", "2004-01-01,2024-08-01", "--unordered", "--quiet", "a", "b"}, nullptr},
    {{"ases", "--dates=2004-01-01", "-", "--json"}, nullptr},
    {{"snapshots", "--plot", "p.svg", "--figures", "ases,edges_new", "--log", "--title", "",
      "--size", "3.5x2", "--per-interval", "a"},
     nullptr},
    {{"report", "--figures=nodes_1,edges_common", "--size=7x4.5", "a", "b"}, nullptr},
    {{}, "no command: report, edges, nodes, snapshots, ases or history"},
    {{"compare", "a", "b"},
     "unknown command `compare': report, edges, nodes, snapshots, ases or history"},
    // Arguments reach the terminal only escaped.
    {{"\x1b]0;x\x07", "a"},
     "unknown command `\\x1b]0;x\\x07': report, edges, nodes, snapshots, ases or history"},
    {{"report", "--\x1b[2J", "a", "b"}, "unknown option `--\\x1b[2J' for report"},
    {{"snapshots", "--figures", "ases,\r", "a"}, "unknown column `\\x0d' in --figures"},
    {{"ases", "--dates", "2004-01-01\n", "a"},
     "invalid date `2004-01-01\\x0a' in --dates (YYYY-MM-DD)"},
    {{"history", "--size", "1x\x7f", "a"}, "unknown option `--size' for history"},
    {{"snapshots", "--size", "1x\x7f", "a"},
     "option --size needs WIDTHxHEIGHT in inches, each above 0 and at most 100 (such as 7x4.5), "
     "not `1x\\x7f'"},
    {{"snapshots"}, "snapshots needs one or more graph files"},
    {{"ases", "-", "-"}, "standard input (-) can be read only once"},
    {{"edges", "--dates", "2004-01-01", "a"}, "unknown option `--dates' for edges"},
    {{"nodes", "--quiet", "a", "b"}, nullptr},
    {{"edges", "--quiet", "a"}, "unknown option `--quiet' for edges"},
    {{"ases", "--plot", "p.svg", "a"}, "unknown option `--plot' for ases"},
    {{"history", "--per-interval", "a"}, "unknown option `--per-interval' for history"},
    {{"report", "--figures", "ases", "a", "b"}, "unknown column `ases' in --figures"},
    {{"snapshots", "--figures", "ases,", "a"}, "unknown column `' in --figures"},
    {{"snapshots", "--figures", "graph", "a"}, "unknown column `graph' in --figures"},
    {{"snapshots", "--size", "0x4", "a"},
     "option --size needs WIDTHxHEIGHT in inches, each above 0 and at most 100 (such as 7x4.5), "
     "not `0x4'"},
    {{"snapshots", "--size", "7x", "a"},
     "option --size needs WIDTHxHEIGHT in inches, each above 0 and at most 100 (such as 7x4.5), "
     "not `7x'"},
    {{"snapshots", "--size", "nanx4", "a"},
     "option --size needs WIDTHxHEIGHT in inches, each above 0 and at most 100 (such as 7x4.5), "
     "not `nanx4'"},
    {{"snapshots", "a", "--title"}, "option --title needs a text"},
    {{"snapshots", "a", "--dates"}, "option --dates needs a list of dates"},
    {{"snapshots", "--dates", "2004-02-30", "a"},
     "invalid date `2004-02-30' in --dates (YYYY-MM-DD)"},
    {{"snapshots", "--dates", "2004-01-01", "a", "b"}, "--dates gives 1 dates for 2 graph files"},
    {{"snapshots", "--dates", "2004-01-01,2003-12-31", "a", "b"},
     "the dates go backwards: `b' (2003-12-31) comes after `a' (2004-01-01); give the graphs in "
     "date order, or --unordered to keep this order"},
    // Names date the graphs; an undated graph between two dated ones does not break the order.
    {{"report", "s/as-20100101.zng", "-", "as-2004-01-01.zng"},
     "the dates go backwards: `as-2004-01-01.zng' (2004-01-01) comes after `s/as-20100101.zng' "
     "(2010-01-01); give the graphs in date order, or --unordered to keep this order"},
    {{"report", "--unordered", "s/as-20100101.zng", "as-2004-01-01.zng"}, nullptr},
    {{"report", "2004/a.zng", "1999/b.zng"}, nullptr},
    {{"report", "a"}, "report needs two or more graph files"},
    {{"report", "-", "-"}, "standard input (-) can be read only once"},
    {{"edges", "a", "b"}, "edges needs one graph file"},
    {{"nodes", "a"}, "nodes needs two graph files"},
    {{"edges", "--base", "a"}, "unknown option `--base' for edges"},
    {{"nodes", "--plot", "p.svg", "a", "b"}, "unknown option `--plot' for nodes"},
    {{"report", "--csv", "a", "b"}, "unknown option `--csv' for report"},
    {{"report", "a", "b", "-o"}, "option -o needs a file name"},
    {{"report", "a", "b", "--plot="}, "option --plot needs a file name"},
    {{"report", "-o", "x", "--plot", "x", "a", "b"}, "-o and --plot name the same file"},
};

TEST(TableOptionsTest, CommandLines) {
  for (const OptionCase& c : kCases) {
    std::vector<const char*> argv = c.args;
    argv.insert(argv.begin(), "plandrex-table");
    TableOptions options;
    std::string reason;
    const bool ok = parseTableOptions(static_cast<int>(argv.size()), argv.data(), options, reason);
    const std::string line = ::testing::PrintToString(c.args);
    if (c.reason == nullptr) {
      EXPECT_TRUE(ok) << line << ": " << reason;
    } else {
      EXPECT_FALSE(ok) << line;
      EXPECT_EQ(reason, c.reason) << line;
    }
  }
}

TEST(TableOptionsTest, ValuesLandWhereTheyBelong) {
  const char* argv[] = {"plandrex-table", "report", "--plot=p.svg", "-ot.json", "--json",
                        "--base",         "a",      "--",           "-b"};
  TableOptions options;
  std::string reason;
  ASSERT_TRUE(parseTableOptions(9, argv, options, reason)) << reason;
  EXPECT_EQ(options.command, TableCommand::kReport);
  EXPECT_EQ(options.figure.file, "p.svg");
  EXPECT_EQ(options.outputFile, "t.json");
  EXPECT_EQ(options.format, TableFormat::kJsonLines);
  EXPECT_TRUE(options.base);
  EXPECT_FALSE(options.quiet);
  EXPECT_EQ(options.inputs, (std::vector<std::string>{"a", "-b"}));
}

}  // namespace
