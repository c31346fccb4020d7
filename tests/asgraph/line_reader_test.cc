#include "asgraph/line_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<std::string> readLines(const std::string& bytes) {
  FILE* stream = std::tmpfile();
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
  std::rewind(stream);
  std::vector<std::string> lines;
  LineReader reader(stream);
  while (reader.next()) {
    EXPECT_EQ(reader.length(), std::string(reader.text()).size());
    lines.emplace_back(reader.text(), reader.length());
  }
  std::fclose(stream);
  return lines;
}

TEST(LineReaderTest, LineEndsAndCuts) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"empty input", "", {}},
      {"empty lines and CRLF", "a\n\n\r\nlast", {"a", "", "", "last"}},
      // A lone carriage return ends the text of the line, not the line: the
      // rest up to the line feed is dropped.
      {"bare carriage returns", "ZNG\r1\rx\r", {"ZNG"}},
      {"carriage return inside a line", "ab\rcd\nef\n", {"ab", "ef"}},
      {"NUL inside a line", std::string("ab\0cd\nef", 8), {"ab", "ef"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(readLines(c.bytes), c.lines);
  }
}

TEST(LineReaderTest, LongLinesAreReadWhole) {
  const std::string longLine(100000, 'x');
  EXPECT_EQ(readLines("a\n" + longLine + "\nb\n"), (std::vector<std::string>{"a", longLine, "b"}));
}

TEST(LineReaderTest, StreamIsConsumedOnlyUpToTheLineReturned) {
  FILE* stream = std::tmpfile();
  std::fputs("one\ntwo\n", stream);
  std::rewind(stream);
  {
    LineReader reader(stream);
    ASSERT_TRUE(reader.next());
  }
  char rest[16] = {0};
  ASSERT_NE(std::fgets(rest, sizeof rest, stream), nullptr);
  EXPECT_STREQ(rest, "two\n");
  std::fclose(stream);
}

TEST(LineReaderTest, ReadErrorEndsTheInput) {
  // A stream open only for writing cannot be read from.
  FILE* writeOnly = std::fopen("/dev/null", "w");
  ASSERT_NE(writeOnly, nullptr);
  LineReader reader(writeOnly);
  EXPECT_FALSE(reader.next());
  std::fclose(writeOnly);
}

}  // namespace
