#include "consoletools/progress_bar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "tests/e2e/process_runner.h"

namespace {

// What one drawing of the bar writes: stars and blanks as given, then the number.
std::string bar(int stars, int blanks, const std::string& number) {
  return "\x1b[1G[" + std::string(stars, '*') + std::string(blanks, ' ') + "]  (" + number + " %)";
}

// Runs calls in a fresh child process, where the last drawn percentage starts at -1, and returns
// what went to standard output.
std::string drawn(const std::function<void()>& calls) {
  const e2e::ProcessResult result = e2e::runFunction(
      [&calls] {
        calls();
        return 0;
      },
      e2e::RunOptions());
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.err, "");
  return result.out;
}

TEST(PrintPercentageTest, HalfwayBarHasTwentyStarsAndTwentyBlanks) {
  EXPECT_EQ(drawn([] { printPercentage(1, 2); }), bar(20, 20, "50.0"));
}

TEST(PrintPercentageTest, LessThanHalfAPointOfProgressDrawsNothing) {
  EXPECT_EQ(drawn([] {
              printPercentage(1, 3);
              printPercentage(1.01f, 3);
            }),
            bar(13, 27, "33.3"));
}

TEST(PrintPercentageTest, CompletionDrawsAFullBar) {
  EXPECT_EQ(drawn([] {
              printPercentage(1, 3);
              printPercentage(1.01f, 3);
              printPercentage(3, 3);
            }),
            bar(13, 27, "33.3") + bar(40, 0, "100.0"));
}

TEST(PrintPercentageTest, CompletionDrawsAgainWithoutProgress) {
  EXPECT_EQ(drawn([] {
              printPercentage(3, 3);
              printPercentage(3, 3);
            }),
            bar(40, 0, "100.0") + bar(40, 0, "100.0"));
}

TEST(PrintPercentageTest, WithinOneThousandthOfAPointOfCompletionDraws) {
  EXPECT_EQ(drawn([] {
              printPercentage(99.8f, 100);
              printPercentage(99.9995f, 100);
            }),
            bar(39, 1, "99.8") + bar(39, 1, "100.0"));
}

TEST(PrintPercentageTest, HalfAPointExactlyDraws) {
  EXPECT_EQ(drawn([] {
              printPercentage(10, 100);
              printPercentage(10.5f, 100);
              printPercentage(10.75f, 100);
            }),
            bar(4, 36, "10.0") + bar(4, 36, "10.5"));
}

TEST(PrintPercentageTest, AnyPercentageBelowTheLastDrawnDraws) {
  EXPECT_EQ(drawn([] {
              printPercentage(60, 100);
              printPercentage(59.9f, 100);
              printPercentage(0, 100);
            }),
            bar(24, 16, "60.0") + bar(23, 17, "59.9") + bar(0, 40, "0.0"));
}

TEST(PrintPercentageTest, FirstCallDrawsFromMinusHalfAPointUp) {
  EXPECT_EQ(drawn([] { printPercentage(-0.5f, 100); }), bar(0, 40, "-0.5"));
  EXPECT_EQ(drawn([] { printPercentage(-0.6f, 100); }), "");
}

TEST(PrintPercentageTest, AboveOneHundredGivesMoreStarsAndNoBlanks) {
  EXPECT_EQ(drawn([] { printPercentage(5, 4); }), bar(50, 0, "125.0"));
}

TEST(PrintPercentageTest, StarsCountWholeCellsOfTwoAndAHalfPoints) {
  EXPECT_EQ(drawn([] { printPercentage(2.5f, 100); }), bar(1, 39, "2.5"));
  EXPECT_EQ(drawn([] { printPercentage(2.4f, 100); }), bar(0, 40, "2.4"));
  EXPECT_EQ(drawn([] { printPercentage(97.5f, 100); }), bar(39, 1, "97.5"));
}

TEST(PrintPercentageTest, ZeroOverZeroDrawsNothing) {
  EXPECT_EQ(drawn([] {
              printPercentage(0, 0);
              printPercentage(1, 2);
            }),
            bar(20, 20, "50.0"));
}

TEST(PrintPercentageTest, PositiveOverZeroDrawsNothingAndKeepsTheLastPercentage) {
  EXPECT_EQ(drawn([] {
              printPercentage(1, 2);
              printPercentage(1, 0);
              printPercentage(1.005f, 2);
            }),
            bar(20, 20, "50.0"));
}

}  // namespace
