#include "text/escaped_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// Every byte value against the rule as the messages state it: below 0x20 except TAB, and 0x7F,
// become \xHH in lower-case hex; all others, UTF-8 bytes included, stay as they are.
TEST(EscapedTextTest, EveryByteFollowsTheRule) {
  for (int value = 1; value < 256; ++value) {
    const char byte = static_cast<char>(value);
    const std::string text = std::string("a") + byte + "b";
    char expected[8];
    if ((value < 0x20 && value != '\t') || value == 0x7f) {
      std::snprintf(expected, sizeof expected, "\\x%02x", value);
    } else {
      expected[0] = byte;
      expected[1] = '\0';
    }
    EXPECT_EQ(escaped(text.c_str()), "a" + std::string(expected) + "b") << value;
  }
  EXPECT_EQ(escaped(""), "");
}

}  // namespace
