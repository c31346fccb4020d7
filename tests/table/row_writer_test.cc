#include "table/row_writer.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct TextCase {
  const char* name;
  std::string bytes;
  std::string csv;
  std::string json;
};

// Quoting only where RFC 4180 needs it; UTF-8 kept, ill-formed bytes cut into maximal subparts
// (one U+FFFD each), as Unicode recommends and Python's "replace" does.
const TextCase kTextCases[] = {
    {"plain", "caida-s1-20040101.zng", "caida-s1-20040101.zng", "\"caida-s1-20040101.zng\""},
    {"empty", "", "", "\"\""},
    {"comma", "a,b", "\"a,b\"", "\"a,b\""},
    {"quote", "say \"hi\"", "\"say \"\"hi\"\"\"", "\"say \\\"hi\\\"\""},
    {"line feed", "a\nb", "\"a\nb\"", "\"a\\nb\""},
    {"carriage return", "a\rb", "\"a\rb\"", "\"a\\rb\""},
    {"blank and tab unquoted", " a\tb ", " a\tb ", "\" a\\tb \""},
    {"backslash", "c:\\x", "c:\\x", "\"c:\\\\x\""},
    {"control", std::string("a\x01\x7f", 3), std::string("a\x01\x7f", 3), "\"a\\u0001\\u007f\""},
    {"utf-8 kept", "caf\xC3\xA9 \xF0\x9F\x98\x80", "caf\xC3\xA9 \xF0\x9F\x98\x80",
     "\"caf\xC3\xA9 \xF0\x9F\x98\x80\""},
    {"lone continuation", "a\x80z", "a\x80z", "\"a\xEF\xBF\xBDz\""},
    {"truncated three-byte", "\xE2\x82z", "\xE2\x82z", "\"\xEF\xBF\xBDz\""},
    {"truncated at end", "a\xF0\x9F\x98", "a\xF0\x9F\x98", "\"a\xEF\xBF\xBD\""},
    {"overlong", "\xC0\xAF", "\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
    {"surrogate", "\xED\xA0\x80", "\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
    {"above U+10FFFF", "\xF4\x90\x80\x80",
     "\xF4\x90\x80\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
    {"latin-1", "\xFF\xFE", "\xFF\xFE", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
};

TEST(RowWriterTest, TextCells) {
  for (const TextCase& c : kTextCases) {
    EXPECT_EQ(csvField(c.bytes.data(), c.bytes.size()), c.csv) << c.name;
    EXPECT_EQ(jsonString(c.bytes.data(), c.bytes.size()), c.json) << c.name;
  }
}

std::string written(TableFormat format, bool hold) {
  char* data = nullptr;
  std::size_t size = 0;
  FILE* out = open_memstream(&data, &size);
  {
    RowWriter rows(out, format, {"name", "count", "delta", "stability", "kind"});
    if (hold) {
      rows.holdRows();
    }
    rows.header();
    rows.text("a,b");
    rows.number(18446744073709551615u);
    rows.signedNumber(-1);
    rows.real(0.333333f);
    rows.word("p2c");
    rows.endRow();
    rows.text("x");
    rows.number(0);
    rows.signedNumber(0);
    rows.real(1.0f / 0.0f);
    rows.word("unknown");
    rows.endRow();
    EXPECT_TRUE(rows.finish());
  }
  std::fclose(out);
  std::string text(data, size);
  std::free(data);
  return text;
}

TEST(RowWriterTest, Rows) {
  for (const bool hold : {false, true}) {
    EXPECT_EQ(written(TableFormat::kCsv, hold),
              "name,count,delta,stability,kind\n"
              "\"a,b\",18446744073709551615,-1,0.333333,p2c\n"
              "x,0,0,inf,unknown\n");
    EXPECT_EQ(written(TableFormat::kJsonLines, hold),
              "{\"name\":\"a,b\",\"count\":18446744073709551615,\"delta\":-1,"
              "\"stability\":0.333333,\"kind\":\"p2c\"}\n"
              "{\"name\":\"x\",\"count\":0,\"delta\":0,\"stability\":null,\"kind\":\"unknown\"}\n");
  }
}

// Every number as std::to_string spells it: each digit count, both ends of both ranges.
TEST(RowWriterTest, NumbersAsToString) {
  std::vector<std::uint64_t> values = {0, UINT64_MAX, UINT64_MAX - 1};
  for (std::uint64_t power = 1; power <= UINT64_MAX / 10; power *= 10) {
    values.insert(values.end(), {power - 1, power, power + 1, power * 9 + 7});
  }
  std::vector<std::int64_t> signedValues = {INT64_MIN, INT64_MIN + 1, -1, 0, 1, INT64_MAX};
  for (const std::uint64_t value : values) {
    if (value <= static_cast<std::uint64_t>(INT64_MAX)) {
      signedValues.push_back(-static_cast<std::int64_t>(value));
    }
  }
  char* data = nullptr;
  std::size_t size = 0;
  FILE* out = open_memstream(&data, &size);
  std::string expected = "n\n";
  {
    RowWriter rows(out, TableFormat::kCsv, {"n"});
    rows.header();
    for (const std::uint64_t value : values) {
      rows.number(value);
      rows.endRow();
      expected += std::to_string(value) + "\n";
    }
    for (const std::int64_t value : signedValues) {
      rows.signedNumber(value);
      rows.endRow();
      expected += std::to_string(value) + "\n";
    }
    EXPECT_TRUE(rows.finish());
  }
  std::fclose(out);
  EXPECT_EQ(std::string(data, size), expected);
  std::free(data);
}

TEST(RowWriterTest, HeldRowsReachTheStreamOnlyAtFinish) {
  char* data = nullptr;
  std::size_t size = 0;
  FILE* out = open_memstream(&data, &size);
  {
    RowWriter rows(out, TableFormat::kCsv, {"n"});
    rows.holdRows();
    rows.header();
    for (int i = 0; i < 100000; ++i) {
      rows.number(static_cast<std::uint64_t>(i));
      rows.endRow();
    }
    std::fflush(out);
    EXPECT_EQ(size, 0u);
    EXPECT_TRUE(rows.finish());
  }
  std::fclose(out);
  EXPECT_EQ(std::string(data, 8), "n\n0\n1\n2\n");
  std::free(data);
}

TEST(RowWriterTest, AFailedWriteIsKept) {
  FILE* full = std::fopen("/dev/full", "w");
  if (full == nullptr) {
    GTEST_SKIP() << "no /dev/full";
  }
  RowWriter rows(full, TableFormat::kCsv, {"n"});
  rows.header();
  for (int i = 0; i < 100000; ++i) {
    rows.number(static_cast<std::uint64_t>(i));
    rows.endRow();
  }
  EXPECT_FALSE(rows.finish());
  EXPECT_EQ(rows.writeError(), ENOSPC);
  std::fclose(full);
}

}  // namespace
