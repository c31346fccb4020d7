#include "plandrex/startup.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/cmd_line_parameters.h"
#include "plandrex/banner.h"
#include "tests/e2e/process_runner.h"

namespace {

// Runs handleCommandLine on argv in a child process (the banner flag is process-wide); the
// child's exit status is the result, with kContinueRun mapped to 100.
e2e::ProcessResult handle(std::vector<std::string> argv, bool bannerFirst = false) {
  return e2e::runFunction(
      [&argv, bannerFirst] {
        if (bannerFirst) {
          printHeader(stdout);
        }
        std::vector<char*> pointers;
        for (std::string& arg : argv) {
          pointers.push_back(&arg[0]);
        }
        pointers.push_back(nullptr);
        cmdLineParameters params;
        const int status = handleCommandLine(static_cast<int>(argv.size()), pointers.data(), params,
                                             stdout, stderr);
        return status == kContinueRun ? 100 : status;
      },
      e2e::RunOptions());
}

TEST(HandleCommandLineTest, RejectedCommandLineGivesBannerTwoLinesAndStatus1) {
  const e2e::ProcessResult result = handle({"my/prog", "a"});
  EXPECT_TRUE(result.exitedWith(1)) << result;
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err,
            "plandrex 1.3\n"
            "Syntax error: Wrong number of input graphs\n"
            "Type my/prog --help for more information\n");
}

TEST(HandleCommandLineTest, NoSecondBannerBeforeTheSyntaxError) {
  const e2e::ProcessResult result = handle({"plandrex", "-l", "-l"}, true);
  EXPECT_TRUE(result.exitedWith(1)) << result;
  EXPECT_EQ(result.out, "plandrex 1.3\n");
  EXPECT_EQ(result.err,
            "Syntax error: Option -l is used at least twice\n"
            "Type plandrex --help for more information\n");
}

TEST(HandleCommandLineTest, HelpGoesToStandardOutputWithStatus0) {
  const e2e::ProcessResult result = handle({"prog", "--help", "a", "b", "c"});
  EXPECT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out.rfind("plandrex 1.3\nVARNOK toolkit AS graph compare tool\nUSAGE: prog ", 0),
            0u);
  EXPECT_NE(result.out.find("\nUSAGE: prog [options]"), std::string::npos);
}

TEST(HandleCommandLineTest, ValidCommandLineWritesNothingAndContinues) {
  const e2e::ProcessResult result = handle({"prog", "a", "b"});
  EXPECT_TRUE(result.exitedWith(100)) << result;
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "");
}

}  // namespace
