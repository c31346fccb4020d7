#ifndef TESTS_E2E_DRIVER_FIXTURES_H_
#define TESTS_E2E_DRIVER_FIXTURES_H_

// Hand-made graphs whose comparison was worked out on paper, and a fixture that runs plandrex on
// them inside a temporary directory.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/plandrex_binary.h"
#include "tests/e2e/temp_dir.h"

namespace e2e {

// Nodes 1 2 3 4 5 10 20. Edges: 1-2 directed 1->2, 1-3 peering, 2-3 unoriented, 3-4 directed
// 4->3, 10-20 directed 10->20 (all five also in the second graph), and only here 4-5 directed,
// 1-5 peering, 2-4 unoriented, 3-5 directed.
inline const char* const kFirstGraph =
    "ZNG\n1\ndump-a.txt\n\n7\n9\n1\n2\n3\n4\n5\n10\n20\n"
    "1 2 1 1 11 1100 12 1200\n"
    "1 3 1 0 13 1300 14 1400\n"
    "2 3 0 0 23 2300 24 2400\n"
    "3 4 1 -1 34 3400 35 3500\n"
    "4 5 1 1 45 4500 46 4600\n"
    "10 20 1 1 1020 102000 2010 201000\n"
    "1 5 1 0 15 1500 16 1600\n"
    "2 4 0 0 242 24200 243 24300\n"
    "3 5 1 1 353 35300 354 35400\n";

// Nodes 1 2 3 4 7 (isolated) 10 20 30 40. Common edges: 1-2 directed 2->1 (opposite), 1-3
// peering (consistent), 2-3 directed (first is unoriented: in no direction counter), 3-4 peering
// (differently directed), 20-10 written from 20 as 10->20 (consistent). Only here: 30-40
// unoriented, 10-30 peering, 1-4 directed.
inline const char* const kSecondGraph =
    "ZNG\n1\ndump-b.txt\n\n9\n8\n1\n2\n3\n4\n7\n10\n20\n30\n40\n"
    "1 2 1 -1 111 11100 112 11200\n"
    "1 3 1 0 113 11300 114 11400\n"
    "2 3 1 1 123 12300 124 12400\n"
    "3 4 1 0 134 13400 135 13500\n"
    "20 10 1 -1 2010 201 1020 102\n"
    "30 40 0 0 3040 304 4030 403\n"
    "10 30 1 0 1030 103 3010 301\n"
    "1 4 1 1 14 140 41 410\n";

inline const char* const kReport =
    "Nodes in 1st graph:           7\n"
    "- only in 1st graph:          1\n"
    "Nodes in 2nd graph:           9\n"
    "- only in 2nd graph:          3\n"
    "Common nodes:                 6\n"
    "Edges in 1st graph:           9\n"
    "- peering:                    2\n"
    "- directed:                   5\n"
    "- unoriented:                 2\n"
    "- only in 1st graph:          4\n"
    "  * peering:                  1\n"
    "  * directed:                 2\n"
    "  * unoriented:               1\n"
    "Edges in 2nd graph:           8\n"
    "- peering:                    3\n"
    "- directed:                   4\n"
    "- unoriented:                 1\n"
    "- only in 2nd graph:          3\n"
    "  * peering:                  1\n"
    "  * directed:                 1\n"
    "  * unoriented:               1\n"
    "Common edges:                 5\n"
    "- oppositely dir.:            1\n"
    "- differently dir.:           2\n"
    "- consistently dir.:          2\n";

inline const char* const kNodeList = "| 1\n| 2\n| 3\n| 4\n< 5\n> 7\n| 10\n| 20\n> 30\n> 40\n";

// A differential graph (an overlap of the pair above with one edge), valid as an input.
inline const char* const kDifferentialGraph =
    "ZND\n2\na.zng\nb.zng\n\n2\n1\n1\n2\n"
    "1 2 0 0 11 1100 12 1200 1 1 1 -1 111 11100 112 11200 2 1 1 0 0 0 0.000000\n";

inline const char* const kBanner = "plandrex 1.3\n";
inline const char* const kTerminalBanner = "\x1b[1mplandrex\x1b[0m 1.3\n";

inline const char* const kOverwriteQuestion =
    "Warning: file `out.zng'\nalready exists and is about to be overwritten.\n"
    "Do you want to proceed (y/n)? ";

// Runs plandrex in a fresh directory that holds a.zng (kFirstGraph), b.zng (kSecondGraph) and
// d.znd (kDifferentialGraph), so that names in arguments and output files are short and fixed.
class DriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir.path().empty());
    ASSERT_TRUE(dir.write("a.zng", kFirstGraph));
    ASSERT_TRUE(dir.write("b.zng", kSecondGraph));
    ASSERT_TRUE(dir.write("d.znd", kDifferentialGraph));
  }

  // Standard output is a pipe, so the run is never interactive.
  ProcessResult run(const std::vector<std::string>& args,
                    StdinSource input = StdinSource::bytes("")) {
    RunOptions options;
    options.args = args;
    options.workDir = dir.path();
    options.input = std::move(input);
    return runPlandrex(options);
  }

  // Standard input and output are a pseudo-terminal, so the run is interactive; standard error
  // has a pipe of its own.
  ProcessResult runInteractive(const std::vector<std::string>& args,
                               const std::string& typed = "") {
    PtyOptions options;
    options.args = args;
    options.workDir = dir.path();
    options.separateStderr = true;
    return runPlandrexInTerminal(options, typed);
  }

  TempDir dir;
};

}  // namespace e2e

#endif  // TESTS_E2E_DRIVER_FIXTURES_H_
