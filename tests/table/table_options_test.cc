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
    {{}, "no command: report, edges or nodes"},
    {{"compare", "a", "b"}, "unknown command `compare': report, edges or nodes"},
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
                        "--base", "a", "--", "-b"};
  TableOptions options;
  std::string reason;
  ASSERT_TRUE(parseTableOptions(9, argv, options, reason)) << reason;
  EXPECT_EQ(options.command, TableCommand::kReport);
  EXPECT_EQ(options.plotFile, "p.svg");
  EXPECT_EQ(options.outputFile, "t.json");
  EXPECT_EQ(options.format, TableFormat::kJsonLines);
  EXPECT_TRUE(options.base);
  EXPECT_FALSE(options.quiet);
  EXPECT_EQ(options.inputs, (std::vector<std::string>{"a", "-b"}));
}

}  // namespace
