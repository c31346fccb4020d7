#include "asgraph/number_conversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

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

// Tokens as the reader meets them: followed by a blank or by the end of the
// line's text, or (not a token of the quick shape) by anything else.
std::string randomToken(std::mt19937& random) {
  static const char kChars[] = "0123456789000999-+. \t\rx";
  std::string token;
  const int length = static_cast<int>(random() % 24);
  for (int i = 0; i < length; ++i) {
    token += random() % 4 != 0 ? static_cast<char>('0' + random() % 10)
                               : kChars[random() % (sizeof kChars - 1)];
  }
  return token;
}

// The quick digit reader accepts what the checked conversions accept, with
// the same value, wherever its width allows; and it takes only digits.
template <std::ptrdiff_t kMaxDigits>
void expectQuickDigitsAgree(const std::string& line) {
  const char* p = line.c_str();
  std::uint64_t quick = 0;
  if (!quickDigits<kMaxDigits>(p, quick)) {
    EXPECT_EQ(p, line.c_str());
    return;
  }
  const char* tokenEnd = p;
  EXPECT_TRUE(endsToken(*tokenEnd));
  EXPECT_LE(tokenEnd - line.c_str(), kMaxDigits);
  std::uint64_t checked64 = 0;
  ASSERT_TRUE(toUnsigned64(line.c_str(), tokenEnd, checked64));
  EXPECT_EQ(quick, checked64);
  if (kMaxDigits <= 18) {
    std::int64_t checkedSigned = 0;
    ASSERT_TRUE(toSigned(line.c_str(), tokenEnd, checkedSigned));
    EXPECT_EQ(static_cast<std::int64_t>(quick), checkedSigned);
  }
  if (kMaxDigits <= 9) {
    std::uint32_t checked32 = 0;
    ASSERT_TRUE(toUnsigned32(line.c_str(), tokenEnd, checked32));
    EXPECT_EQ(quick, checked32);
  }
}

TEST(NumberConversionTest, QuickDigitsAgreeWithTheCheckedConversions) {
  const char* const kLines[] = {"0",
                                "7 ",
                                "65535\r",
                                "000000001",
                                "999999999",
                                "1000000000",
                                "9999999999999999999",
                                "18446744073709551615",
                                "12x",
                                "-1",
                                "+1",
                                "",
                                " 5",
                                "5\t"};
  for (const char* line : kLines) {
    SCOPED_TRACE(std::string("line `") + line + "'");
    expectQuickDigitsAgree<5>(line);
    expectQuickDigitsAgree<9>(line);
    expectQuickDigitsAgree<19>(line);
  }
  const char* nineDigits = "999999999";
  std::uint64_t value = 0;
  EXPECT_TRUE(quickDigits<9>(nineDigits, value));
  EXPECT_EQ(value, 999999999u);
  const char* twentyDigits = "00000000000000000001";
  EXPECT_FALSE(quickDigits<19>(twentyDigits, value));

  std::mt19937 random(7);
  for (int i = 0; i < 20000; ++i) {
    const std::string line = randomToken(random);
    SCOPED_TRACE("line `" + line + "'");
    expectQuickDigitsAgree<5>(line);
    expectQuickDigitsAgree<9>(line);
    expectQuickDigitsAgree<19>(line);
  }
}

// The quick form divides in single precision; the checked conversion rounds
// the decimal once. They must agree bit for bit wherever the quick form
// answers, above all on the six decimals the writer prints.
TEST(NumberConversionTest, QuickFloatRoundsAsTheCheckedConversion) {
  std::vector<std::string> tokens = {"0.000000",  "1.000000",  "0.5",      "16.777216", "16777216",
                                     "1677721.6", "0.100000",  "0.333333", "0.0000001", "123456789",
                                     "16.777217", "1.",        ".5",       "-0.5",      "1e2",
                                     "1.2.3",     "9999999999"};
  std::mt19937 random(11);
  for (int i = 0; i < 100000; ++i) {
    // Every other one as the writer prints a stability, with six decimals.
    char text[32];
    const int decimals = i % 2 == 0 ? 6 : static_cast<int>(random() % 9);
    const unsigned long range = i % 2 == 0 ? 1000001ul : 10000000000ul;
    std::snprintf(text, sizeof text, "%.*f", decimals,
                  static_cast<double>(random() % range) / std::pow(10.0, decimals));
    tokens.push_back(text);
  }
  int answered = 0;
  for (const std::string& token : tokens) {
    SCOPED_TRACE("token `" + token + "'");
    const std::string line = token + " 9";
    const char* p = line.c_str();
    float quick = 42.0f;
    if (!quickFloat(p, quick)) {
      EXPECT_EQ(p, line.c_str());
      EXPECT_EQ(quick, 42.0f);
      continue;
    }
    ++answered;
    EXPECT_EQ(p, line.c_str() + token.size());
    float checked = 0.0f;
    ASSERT_TRUE(toFloat(line.c_str(), line.c_str() + token.size(), checked));
    EXPECT_EQ(std::memcmp(&quick, &checked, sizeof quick), 0) << quick << " " << checked;
  }
  // Most of the writer's numbers take the quick way.
  EXPECT_GT(answered, 50000);
}

}  // namespace
