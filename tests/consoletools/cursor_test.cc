#include "consoletools/cursor.h"

#include <gtest/gtest.h>

#include "tests/e2e/process_runner.h"

namespace {

TEST(GoToColTest, WritesTheCursorToColumnSequence) {
  const e2e::ProcessResult result = e2e::runFunction(
      [] {
        goToCol(1);
        goToCol(42);
        goToCol(0);
        return 0;
      },
      e2e::RunOptions());
  ASSERT_TRUE(result.exitedWith(0)) << result;
  EXPECT_EQ(result.out, "\x1b[1G\x1b[42G\x1b[0G");
  EXPECT_EQ(result.err, "");
}

}  // namespace
