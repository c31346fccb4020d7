#include "importer/input_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "importer/decoded_input.h"
#include "tests/e2e/temp_dir.h"

namespace {

struct Split {
  std::vector<std::string> lines;
  bool failed;
  std::string reason;
  std::uint64_t number;
};

Split split(const std::string& content) {
  e2e::TempDir dir;
  dir.write("input", content);
  DecodedInput input;
  EXPECT_TRUE(input.open(dir.file("input").c_str()));
  InputLines lines(input);
  Split result;
  while (lines.next()) {
    result.lines.emplace_back(lines.begin(), lines.end());
    EXPECT_EQ(lines.number(), result.lines.size());
  }
  result.failed = lines.failed();
  result.reason = lines.reason();
  result.number = lines.number();
  return result;
}

using Lines = std::vector<std::string>;

TEST(InputLinesTest, LineEnds) {
  struct Case {
    const char* what;
    std::string content;
    Lines lines;
  };
  const Case cases[] = {
      {"empty input", "", {}},
      {"one empty line", "\n", {""}},
      {"final line feed", "a\nb\n", {"a", "b"}},
      {"no final line feed", "a\nb", {"a", "b"}},
      {"CRLF", "a\r\nb\r\n", {"a", "b"}},
      {"CRLF without the last LF", "a\r\nb\r", {"a", "b"}},
      {"lone CR inside a line", "a\rb\n", {"a\rb"}},
      {"NUL inside a line", std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
      {"blank lines", "\n\n\nx", {"", "", "", "x"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Split result = split(c.content);
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(result.lines, c.lines);
  }
}

TEST(InputLinesTest, LinesLongerThanTheBufferArriveWhole) {
  const std::string longLine(600000, 'x');
  const Split result = split("a\n" + longLine + "\nb\n" + longLine);
  ASSERT_EQ(result.lines.size(), 4u);
  EXPECT_TRUE(result.lines[1] == longLine);
  EXPECT_EQ(result.lines[2], "b");
  EXPECT_TRUE(result.lines[3] == longLine);
}

TEST(InputLinesTest, AnOverlongLineIsRefusedWithItsNumber) {
  const std::string tooLong(InputLines::kMaxLineLength + 1, 'x');
  for (const std::string& tail : {std::string("\n"), std::string()}) {
    const Split result = split("1|2|0\n" + tooLong + tail);
    EXPECT_TRUE(result.failed);
    EXPECT_EQ(result.reason, "line longer than 1048576 bytes");
    EXPECT_EQ(result.number, 2u);
    EXPECT_EQ(result.lines, Lines{"1|2|0"});
  }
  const Split longest = split(std::string(InputLines::kMaxLineLength, 'y') + "\r\n");
  EXPECT_FALSE(longest.failed);
  ASSERT_EQ(longest.lines.size(), 1u);
  EXPECT_EQ(longest.lines[0].size(), InputLines::kMaxLineLength);
}

}  // namespace
