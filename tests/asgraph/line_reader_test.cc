#include "asgraph/line_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
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

namespace {

using Consumption = LineReader::Consumption;

// The lines as the reader's contract has them: split at line feeds, a last
// piece without one is a line if it is not empty, each text cut at its first
// carriage return or NUL.
std::vector<std::string> modelLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t lineFeed = bytes.find('\n', start);
    std::size_t end = lineFeed == std::string::npos ? bytes.size() : lineFeed;
    std::string line = bytes.substr(start, end - start);
    lines.push_back(line.substr(0, line.find_first_of(std::string("\r\0", 2))));
    start = end + 1;
  }
  return lines;
}

// Reads every line both ways the graph reader uses: text() and, before it,
// the unterminated line(), whose text must end where text() says.
std::vector<std::string> readLinesWith(const std::string& bytes, Consumption consumption) {
  FILE* stream = std::tmpfile();
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
  std::rewind(stream);
  std::vector<std::string> lines;
  LineReader reader(stream, consumption);
  while (reader.next()) {
    const char* line = reader.line();
    std::size_t end = 0;
    while (line[end] != '\0' && line[end] != '\r' && line[end] != '\n') {
      ++end;
    }
    EXPECT_EQ(end, reader.length());
    lines.emplace_back(reader.text(), reader.length());
    EXPECT_EQ(reader.line(), reader.text());
  }
  std::fclose(stream);
  return lines;
}

// Random inputs of up to a few blocks, with lines short and long (longer than
// a block, so that the block reader has to grow and move cut lines), every
// line end and cut, with and without a final line feed.
TEST(LineReaderTest, BothConsumptionsReadTheLinesOfTheModel) {
  std::mt19937 random(20261207);
  const char alphabet[] = {'a', 'b', ' ', '\t', '\r', '\0', '\n', '\n'};
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE(round);
    std::string bytes;
    const std::size_t size = random() % (round < 20 ? 2000 : 400000);
    const unsigned lineFeedOneIn = round % 3 == 0 ? 200000 : 1 + random() % 60;
    while (bytes.size() < size) {
      bytes += random() % lineFeedOneIn == 0 ? '\n' : alphabet[random() % 6];
      if (random() % 16 == 0) {
        bytes += alphabet[random() % sizeof alphabet];
      }
    }
    const std::vector<std::string> expected = modelLines(bytes);
    EXPECT_EQ(readLinesWith(bytes, Consumption::kUpToLineReturned), expected);
    EXPECT_EQ(readLinesWith(bytes, Consumption::kReadAhead), expected);
  }
}

// The longest line is taken whole, one byte more ends the read (line feed
// not counted, a carriage return counted), in either consumption, wherever the
// line is and whether or not a line feed ends it.
TEST(LineReaderTest, ALineOverTheLimitEndsTheRead) {
  const std::size_t limit = LineReader::kMaxLineLength;
  const std::string longest(limit, 'x');
  const std::string over = "y" + longest;
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;  // before the end
    bool tooLong;
  };
  const Case cases[] = {
      {"longest line", "a\n" + longest + "\nb\n", {"a", longest, "b"}, false},
      {"longest last line without line feed", longest, {longest}, false},
      {"one byte over", over + "\nb\n", {}, true},
      {"one byte over after a line", "a\n" + over + "\n", {"a"}, true},
      {"one byte over without line feed", "a\n" + over, {"a"}, true},
      {"carriage return counts", longest + "\r\n", {}, true},
      {"far over", std::string(3 * limit + 5, '\0'), {}, true},
  };
  for (const Consumption consumption : {Consumption::kUpToLineReturned, Consumption::kReadAhead}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      FILE* stream = std::tmpfile();
      std::fwrite(c.bytes.data(), 1, c.bytes.size(), stream);
      std::rewind(stream);
      LineReader reader(stream, consumption);
      std::vector<std::string> lines;
      while (reader.next()) {
        lines.emplace_back(reader.text(), reader.length());
      }
      EXPECT_EQ(lines, c.lines);
      EXPECT_EQ(reader.tooLong(), c.tooLong);
      if (c.tooLong) {
        const std::size_t at = c.bytes.size() > limit + 2 && c.bytes[0] == 'a' ? 2 : 0;
        EXPECT_EQ(std::string(reader.line(), limit), c.bytes.substr(at, limit));
        EXPECT_FALSE(reader.next());
      }
      std::fclose(stream);
    }
  }
}

TEST(LineReaderTest, ReadAheadStopsAtAReadError) {
  FILE* writeOnly = std::fopen("/dev/null", "w");
  ASSERT_NE(writeOnly, nullptr);
  LineReader reader(writeOnly, Consumption::kReadAhead);
  EXPECT_FALSE(reader.next());
  EXPECT_FALSE(reader.next());
  std::fclose(writeOnly);
}

}  // namespace
