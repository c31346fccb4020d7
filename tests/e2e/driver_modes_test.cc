// Every mode of a run, end to end: what reaches the output stream, byte for byte.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/driver_fixtures.h"

namespace e2e {
namespace {

// The five common edges of the pair, as unoriented edges with each graph's facts side by side:
// first the one directed both ways (1-2), then the rest.
const char* const kOppositeOverlapEdge =
    "1 2 0 0 11 1100 12 1200 1 1 1 -1 111 11100 112 11200 2 1 1 0 0 0 0.000000\n";
const char* const kOtherOverlapEdges =
    "1 3 0 0 13 1300 14 1400 1 1 0 0 113 11300 114 11400 2 0 0 2 0 0 0.000000\n"
    "2 3 0 0 23 2300 24 2400 0 1 0 1 123 12300 124 12400 2 0 1 0 1 0 0.000000\n"
    "3 4 0 0 34 3400 35 3500 1 1 -1 0 134 13400 135 13500 2 1 0 1 0 0 0.000000\n"
    "10 20 0 0 1020 102000 2010 201000 1 1 1 1 1020 102 2010 201 2 0 2 0 0 0 0.000000\n";

const std::string kOverlapEdges = std::string(kOppositeOverlapEdge) + kOtherOverlapEdges;
const std::string kOverlapGraph =
    "ZND\n2\na.zng\nb.zng\n\n6\n5\n1\n2\n3\n4\n10\n20\n" + kOverlapEdges;

// Edges of one graph only, as they stood in their source.
const char* const kComplementaryGraph =
    "ZNG\n2\na.zng\nb.zng\n\n8\n7\n1\n2\n3\n4\n5\n10\n30\n40\n"
    "1 4 1 1 14 140 41 410\n"
    "1 5 1 0 15 1500 16 1600\n"
    "2 4 0 0 242 24200 243 24300\n"
    "3 5 1 1 353 35300 354 35400\n"
    "4 5 1 1 45 4500 46 4600\n"
    "10 30 1 0 1030 103 3010 301\n"
    "30 40 0 0 3040 304 4030 403\n";

const char* const kOnlyInSecondGraph =
    "ZNG\n2\na.zng\nb.zng\n\n5\n3\n1\n4\n10\n30\n40\n"
    "1 4 1 1 14 140 41 410\n"
    "10 30 1 0 1030 103 3010 301\n"
    "30 40 0 0 3040 304 4030 403\n";

using DriverModesTest = DriverTest;

TEST_F(DriverModesTest, DefaultReportIsTheTwentyFiveLinesAndNothingElse) {
  const ProcessResult result = run({"a.zng", "b.zng"});
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.out, kReport);
  EXPECT_EQ(result.err, "");
}

TEST_F(DriverModesTest, StandardInputStandsForEitherInput) {
  struct Case {
    std::vector<std::string> args;
    const char* stdinGraph;
  };
  const Case cases[] = {
      {{"-", "b.zng"}, kFirstGraph},
      {{"a.zng", "-"}, kSecondGraph},
      {{"-s", "-", "b.zng"}, kFirstGraph},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1]);
    const ProcessResult result = run(c.args, StdinSource::bytes(c.stdinGraph));
    EXPECT_TRUE(result.exitedWith(0)) << result;
    EXPECT_EQ(result.out, kReport);
  }
}

TEST_F(DriverModesTest, OutputFileReceivesWhatStandardOutputWouldHave) {
  struct Case {
    std::vector<std::string> args;
    std::string expected;
  };
  const Case cases[] = {
      {{"-o", "out", "a.zng", "b.zng"}, kReport},
      {{"-o", "out", "-f", "-l", "a.zng", "b.zng"}, kNodeList},
      {{"--over:a", "-f", "a.zng", "-o", "out", "b.zng"}, kOverlapGraph},
      {{"-f", "-o", "out", "--comp:a,A", "a.zng", "b.zng"}, kComplementaryGraph},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1] + " " + c.args[2] + " " + c.args[3]);
    const ProcessResult result = run(c.args);
    EXPECT_TRUE(result.exitedWith(0)) << result;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(dir.read("out"), c.expected);
  }
}

TEST_F(DriverModesTest, EachModeWritesOnlyItsOwnKindOfOutput) {
  struct Case {
    std::vector<std::string> args;
    std::string expected;
  };
  const Case cases[] = {
      {{"-l", "a.zng", "b.zng"}, kNodeList},
      {{"--over:a", "a.zng", "b.zng"}, kOverlapGraph},
      // Opposite directions: only 1-2.
      {{"--over:x", "a.zng", "b.zng"},
       std::string("ZND\n2\na.zng\nb.zng\n\n2\n1\n1\n2\n") + kOppositeOverlapEdge},
      {{"--comp:a,A", "a.zng", "b.zng"}, kComplementaryGraph},
      {{"-n", "--comp:a", "a.zng", "b.zng"}, kOnlyInSecondGraph},
      // Nothing selected: the graph is still written, empty.
      {{"--comp:a", "a.zng", "a.zng"}, "ZNG\n2\na.zng\na.zng\n\n0\n0\n"},
      {{"--over:a", "--comment", "two dumps, one month apart", "a.zng", "b.zng"},
       "ZND\n2\na.zng\nb.zng\ntwo dumps, one month apart\n6\n5\n1\n2\n3\n4\n10\n20\n" +
           kOverlapEdges},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1]);
    const ProcessResult result = run(c.args);
    EXPECT_TRUE(result.exitedWith(0)) << result;
    EXPECT_EQ(result.out, c.expected);
    EXPECT_EQ(result.err, "");
  }
}

TEST_F(DriverModesTest, NegatedOverlapKeepsTheOtherCommonEdges) {
  const ProcessResult result = run({"-n", "--over:x", "a.zng", "b.zng"});
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.out,
            std::string("ZND\n2\na.zng\nb.zng\n\n6\n4\n1\n2\n3\n4\n10\n20\n") + kOtherOverlapEdges);
}

// One adjacency 10-20 goes directed 10->20 three times, peering twice, directed again (some
// inputs write it from 20): runs 3, 2 and 1, stability 2. 20-30 is peering in inputs 1 and 3
// only, one run of 2. 5-10 appears once, unoriented. AS 99 has no edge and is left out.
class MultiModeTest : public DriverTest {
 protected:
  void SetUp() override {
    DriverTest::SetUp();
    const char* const inputs[] = {
        "ZNG\n1\nd1\n\n4\n2\n10\n20\n30\n99\n10 20 1 1 5 500 6 600\n20 30 1 0 7 700 8 800\n",
        "ZNG\n1\nd2\n\n3\n2\n5\n10\n20\n20 10 1 -1 5 500 6 600\n5 10 0 0 1 1 1 1\n",
        "ZNG\n1\nd3\n\n3\n2\n10\n20\n30\n10 20 1 1 5 500 6 600\n30 20 1 0 7 700 8 800\n",
        "ZNG\n1\nd4\n\n2\n1\n10\n20\n10 20 1 0 5 500 6 600\n",
        "ZNG\n1\nd5\n\n2\n1\n10\n20\n20 10 1 0 5 500 6 600\n",
        "ZNG\n1\nd6\n\n2\n1\n10\n20\n10 20 1 1 5 500 6 600\n",
    };
    for (int i = 0; i < 6; ++i) {
      ASSERT_TRUE(dir.write("m" + std::to_string(i + 1) + ".zng", inputs[i]));
      inputText[i] = inputs[i];
    }
  }

  static std::string multiGraph(const std::string& sources, const std::string& comment) {
    return "ZND\n6\n" + sources + comment + "\n4\n3\n5\n10\n20\n30\n" +
           "5 10 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 0 0 0 1 0 1.000000\n"
           "10 20 0 0 0 0 0 0 1 0 1 0 0 0 0 0 6 0 4 2 0 2 2.000000\n"
           "20 30 0 0 0 0 0 0 1 0 0 0 0 0 0 0 2 0 0 2 0 0 2.000000\n";
  }

  std::string inputText[6];
};

TEST_F(MultiModeTest, FoldsInputsInCommandLineOrder) {
  const ProcessResult result =
      run({"--multi", "m1.zng", "m2.zng", "m3.zng", "m4.zng", "m5.zng", "m6.zng"});
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.out, multiGraph("m1.zng\nm2.zng\nm3.zng\nm4.zng\nm5.zng\nm6.zng\n", ""));
  EXPECT_EQ(result.err, "");
}

TEST_F(MultiModeTest, TakesOneInputFromStandardInputAndKeepsItsDashAsName) {
  const ProcessResult result = run(
      {"--multi", "--comment", "six days", "m1.zng", "m2.zng", "m3.zng", "-", "m5.zng", "m6.zng"},
      StdinSource::bytes(inputText[3]));
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.out, multiGraph("m1.zng\nm2.zng\nm3.zng\n-\nm5.zng\nm6.zng\n", "six days"));
}

TEST_F(MultiModeTest, FoldsADifferentialInputLikeAnyOther) {
  // d.znd holds 1-2 as an unoriented edge: one unoriented appearance.
  const ProcessResult result = run({"--multi", "d.znd", "m4.zng"});
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.out,
            "ZND\n2\nd.znd\nm4.zng\n\n4\n2\n1\n2\n10\n20\n"
            "1 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 0 0 0 1 0 1.000000\n"
            "10 20 0 0 0 0 0 0 1 0 0 0 0 0 0 0 1 0 0 1 0 0 1.000000\n");
  EXPECT_EQ(result.err, "");
}

TEST(BundledExamplesTest, CompareWithAFullReport) {
  const std::string examples = std::string(PLANDREX_SOURCE_DIR) + "/examples/";
  const ProcessResult report =
      runPlandrex({examples + "as-snapshot-1.zng", examples + "as-snapshot-2.zng"});
  EXPECT_TRUE(report.exitedWith(0)) << report;
  EXPECT_EQ(std::count(report.out.begin(), report.out.end(), '\n'), 25);

  const ProcessResult multi =
      runPlandrex({"--multi", examples + "as-snapshot-1.zng", examples + "as-snapshot-2.zng",
                   examples + "as-snapshot-3.zng"});
  EXPECT_TRUE(multi.exitedWith(0)) << multi;
  EXPECT_EQ(multi.out.compare(0, 4, "ZND\n"), 0);
}

}  // namespace
}  // namespace e2e
