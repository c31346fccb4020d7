#include "asgraph/number_conversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

namespace {

// What each conversion makes of one text; ok false means "not a number".
struct Row {
  const char* text;
  bool ok;
  std::int64_t asSigned;
  std::uint32_t as32;
  std::uint64_t as64;
};

constexpr std::uint64_t kMax64 = 18446744073709551615ull;
constexpr std::int64_t kMinSigned = -9223372036854775807ll - 1;

TEST(NumberConversionTest, IntegerConversionsAtTheirLimits) {
  const Row rows[] = {
      {"0", true, 0, 0, 0},
      {"65535", true, 65535, 65535, 65535},
      {"65536", true, 65536, 65536, 65536},
      {"-1", true, -1, 4294967295u, kMax64},
      {"-0", true, 0, 0, 0},
      {"4294967295", true, 4294967295ll, 4294967295u, 4294967295ull},
      {"4294967296", true, 4294967296ll, 4294967295u, 4294967296ull},
      {"-4294967295", true, -4294967295ll, 1, kMax64 - 4294967294ull},
      // A magnitude beyond the width saturates, whatever the sign.
      {"-4294967296", true, -4294967296ll, 4294967295u, kMax64 - 4294967295ull},
      {"18446744073709551615", true, 9223372036854775807ll, 4294967295u, kMax64},
      {"18446744073709551616", true, 9223372036854775807ll, 4294967295u, kMax64},
      {"-18446744073709551615", true, kMinSigned, 4294967295u, 1},
      {"-18446744073709551616", true, kMinSigned, 4294967295u, kMax64},
      {"9223372036854775808", true, 9223372036854775807ll, 4294967295u, 9223372036854775808ull},
      {"-9223372036854775808", true, kMinSigned, 4294967295u, 9223372036854775808ull},
      {"-9223372036854775809", true, kMinSigned, 4294967295u, 9223372036854775807ull},
      {"+5", true, 5, 5, 5},
      {" 5", true, 5, 5, 5},
      {"\t\v\f\r\n 5", true, 5, 5, 5},
      {"007", true, 7, 7, 7},
      {"", true, 0, 0, 0},
      {"5 ", false, 0, 0, 0},
      {" ", false, 0, 0, 0},
      {"-", false, 0, 0, 0},
      {"+", false, 0, 0, 0},
      {"+-5", false, 0, 0, 0},
      {"- 5", false, 0, 0, 0},
      {"0x10", false, 0, 0, 0},
      {"1e3", false, 0, 0, 0},
      {"5\t", false, 0, 0, 0},
      {"x", false, 0, 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string("text `") + row.text + "'");
    const std::string text = row.text;
    const char* begin = text.c_str();
    const char* end = begin + text.size();
    std::int64_t s = 99;
    std::uint32_t u32 = 99;
    std::uint64_t u64 = 99;
    EXPECT_EQ(toSigned(begin, end, s), row.ok);
    EXPECT_EQ(toUnsigned32(begin, end, u32), row.ok);
    EXPECT_EQ(toUnsigned64(begin, end, u64), row.ok);
    EXPECT_EQ(s, row.ok ? row.asSigned : 99);
    EXPECT_EQ(u32, row.ok ? row.as32 : 99u);
    EXPECT_EQ(u64, row.ok ? row.as64 : 99u);
  }
}

TEST(NumberConversionTest, OnlyTheGivenRangeIsRead) {
  // The text continues past end: the conversion must stop at end.
  const char* text = "123456";
  std::uint32_t value = 0;
  EXPECT_TRUE(toUnsigned32(text, text + 3, value));
  EXPECT_EQ(value, 123u);
}

TEST(NumberConversionTest, FloatConversion) {
  struct FloatRow {
    const char* token;
    bool ok;
    float value;
  };
  const FloatRow rows[] = {
      {"0.000000", true, 0.0f}, {"1.5", true, 1.5f},    {"-2.25", true, -2.25f},
      {"+3", true, 3.0f},       {"1e3", true, 1000.0f}, {"2.5E-1", true, 0.25f},
      {".5", true, 0.5f},       {"\t7", true, 7.0f},    {"", true, 0.0f},
      {"1.5x", false, 0.0f},    {"1e", false, 0.0f},    {"x", false, 0.0f},
      {"1.5\t", false, 0.0f},   {"-", false, 0.0f},
  };
  for (const FloatRow& row : rows) {
    SCOPED_TRACE(std::string("token `") + row.token + "'");
    // The reader's tokens end at a blank; what follows must not be read.
    const std::string line = std::string(row.token) + " 9";
    float value = 42.0f;
    EXPECT_EQ(toFloat(line.c_str(), line.c_str() + std::string(row.token).size(), value), row.ok);
    EXPECT_EQ(value, row.ok ? row.value : 42.0f);
  }
  float value = 0.0f;
  const char* huge = "1e999";
  EXPECT_TRUE(toFloat(huge, huge + 5, value));
  EXPECT_TRUE(std::isinf(value));
}

}  // namespace
