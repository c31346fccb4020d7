#include "cli/graph_input.h"

#include <gtest/gtest.h>

#include <string>

#include "cli/exit_status.h"
#include "tests/e2e/temp_dir.h"

namespace {

// Every way reading an input ends, with the status and the "FILE: reason" line each gives; a name
// the message quotes is escaped.
TEST(GraphInputTest, StatusAndMessageOfEachOutcome) {
  e2e::TempDir dir;
  ASSERT_TRUE(dir.write("good.zng", "ZNG\n1\na\n\n2\n1\n7\n11\n7 11 1 1 0 0 0 0\n"));
  ASSERT_TRUE(dir.write("bad.zng", "ZNG\n1\na\n\n1\n0\n0\n"));
  ASSERT_TRUE(dir.write("bad\x1b[2J.zng", "ZNG\n1\na\n\n1\n0\n0\n"));
  const struct {
    const char* name;
    int status;
    const char* message;  // after the directory
  } cases[] = {
      {"good.zng", kExitSuccess, ""},
      {"none.zng", kExitDeclinedOrUnreadable, "none.zng: No such file or directory\n"},
      {"bad.zng", kExitUnwritableOrInvalid, "bad.zng: Invalid AS number: `0'\n"},
      {"bad\x1b[2J.zng", kExitUnwritableOrInvalid, "bad\\x1b[2J.zng: Invalid AS number: `0'\n"},
  };
  for (const auto& c : cases) {
    ASGraph graph;
    std::string message;
    EXPECT_EQ(readGraphInput(dir.file(c.name), graph, message), c.status) << c.name;
    EXPECT_EQ(message, *c.message == '\0' ? "" : dir.path() + "/" + c.message) << c.name;
    EXPECT_EQ(graph.nodes(), c.status == kExitSuccess ? 2u : graph.nodes()) << c.name;
  }
}

// The announcement of an opened file comes before it is read, and never for a file that cannot
// be opened.
TEST(GraphInputTest, OpenedIsCalledOnlyForAFileThatOpened) {
  e2e::TempDir dir;
  ASSERT_TRUE(dir.write("bad.zng", "garbage\n"));
  for (const char* name : {"bad.zng", "none.zng"}) {
    ASGraph graph;
    std::string reason;
    int calls = 0;
    const GraphReading reading = readGraphFile(dir.file(name), graph, reason, [&] { ++calls; });
    EXPECT_NE(reading, GraphReading::kRead);
    EXPECT_EQ(calls, reading == GraphReading::kCannotOpen ? 0 : 1) << name;
    EXPECT_FALSE(reason.empty());
  }
}

}  // namespace
