#include "text/copied_string.h"

#include <gtest/gtest.h>

namespace {

// A graph file's name lines are copied from the middle of a read buffer: the copy ends where the
// length says, not at the buffer's next NUL.
TEST(CopiedStringTest, CopiesThePrefixAndEndsIt) {
  const char text[] = "source\nrest";
  char* prefix = copyString(text, 6);
  char* whole = copyString(text);
  EXPECT_STREQ(prefix, "source");
  EXPECT_STREQ(whole, text);
  EXPECT_NE(whole, text);
  delete[] prefix;
  delete[] whole;
}

}  // namespace
