#include "engine/condition_letters.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Every letter of the table has one bit of its own, together all of allBits; every other
// character has none.
void expectOneBitPerLetter(const std::string& letters, int (*letterBit)(char), int allBits) {
  int seen = 0;
  for (int c = 0; c < 256; ++c) {
    const char letter = static_cast<char>(c);
    const int bit = letterBit(letter);
    if (letters.find(letter) == std::string::npos || letter == '\0') {
      EXPECT_EQ(bit, 0) << "character " << c;
      continue;
    }
    EXPECT_EQ(bit & (bit - 1), 0) << letter << " has more than one bit";
    EXPECT_EQ(seen & bit, 0) << letter << " shares its bit";
    seen |= bit;
  }
  EXPECT_EQ(seen, allBits);
}

TEST(ConditionLettersTest, OverLettersHaveDistinctBitsAndNothingElseHasOne) {
  expectOneBitPerLetter("oOxypPdDuUwa", overLetterBit, 0xFFF);
}

TEST(ConditionLettersTest, CompLettersHaveDistinctBitsAndNothingElseHasOne) {
  expectOneBitPerLetter("updoaUPDOA", compLetterBit, 0x3FF);
}

TEST(ConditionLettersTest, TablesInBitOrder) {
  const char over[] = "oOxypPdDuUwa";
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(overLetterBit(over[i]), 1 << i) << over[i];
  }
  const char comp[] = "updoaUPDOA";
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(compLetterBit(comp[i]), 1 << i) << comp[i];
  }
}

}  // namespace
