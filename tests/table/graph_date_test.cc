#include "table/graph_date.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// Every day of two whole 400-year cycles, walked one by one as a calendar does: parsing its ISO
// text gives the next day number, and formatting that number gives the text back.
TEST(GraphDateTest, EveryDayParsesAndFormatsInSequence) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  GraphDate epoch;
  ASSERT_TRUE(parseIsoDate("1970-01-01", epoch));
  EXPECT_EQ(epoch.days, 0);
  GraphDate edge;
  ASSERT_TRUE(parseIsoDate("0001-01-01", edge));
  EXPECT_EQ(isoDate(edge), "0001-01-01");
  ASSERT_TRUE(parseIsoDate("9999-12-31", edge));
  EXPECT_EQ(isoDate(edge), "9999-12-31");
  for (const char* text : {"0000-01-01", "2004-1-01", "2004-01-01 ", "+004-01-01", "2004/01/01"}) {
    EXPECT_FALSE(parseIsoDate(text, edge)) << text;
  }
  std::int64_t expected = 0;
  bool first = true;
  for (int year = 1600; year < 2400; ++year) {
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    for (int month = 1; month <= 12; ++month) {
      const int last = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
      for (int day = 1; day <= last; ++day) {
        char text[40];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
        GraphDate date;
        ASSERT_TRUE(parseIsoDate(text, date)) << text;
        if (!first) {
          ASSERT_EQ(date.days, expected + 1) << text;
        }
        first = false;
        expected = date.days;
        ASSERT_EQ(isoDate(date), text);
      }
      GraphDate beyond;
      char text[40];
      std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, last + 1);
      ASSERT_FALSE(parseIsoDate(text, beyond)) << text;
    }
  }
}

TEST(GraphDateTest, DatesInNames) {
  struct NameCase {
    const char* name;
    const char* date;  // "" : none
  };
  const NameCase kCases[] = {
      {"caida-s1-20040101.zng", "2004-01-01"},
      {"../shared/data/wide/caida-s1-20240801.zng", "2024-08-01"},
      {"as-2016-02-29.zng", "2016-02-29"},
      {"19991231", "1999-12-31"},
      {"x20040101y", "2004-01-01"},
      {"1970-01-01", "1970-01-01"},
      {"21001231.zng", "2100-12-31"},
      {"2004-01-01-20100101", "2004-01-01"},
      // The directory does not date a graph.
      {"20040101/as.zng", ""},
      {"-", ""},
      {"as.zng", ""},
      // Runs of digits longer than eight, invalid days, years out of range.
      {"120040101.zng", ""},
      {"200401011.zng", ""},
      {"20040230.zng", ""},
      {"19691231.zng", ""},
      {"21010101.zng", ""},
      {"2015-02-29.zng", ""},
      {"12004-01-01", ""},
      // A first run that is no date leaves the next one to count.
      {"v12345678-20200202.zng", "2020-02-02"},
      {"as-20041301-2005-06-07.zng", "2005-06-07"},
  };
  for (const NameCase& c : kCases) {
    EXPECT_EQ(isoDate(dateInName(c.name)), c.date) << c.name;
  }
}

}  // namespace
