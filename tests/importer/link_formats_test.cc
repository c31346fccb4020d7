// The data lines of every link format: what each parser makes of a line, the
// exact reason for each kind of bad line, and which format a first data line
// is taken for.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "importer/caida_serial_format.h"
#include "importer/format_registry.h"
#include "importer/link_fields.h"
#include "importer/link_list_format.h"
#include "importer/snap_caida_format.h"

namespace {

constexpr Relationship kUnoriented = Relationship::kUnoriented;
constexpr Relationship kPeering = Relationship::kPeering;
constexpr Relationship kProviderOf = Relationship::kProviderOf;
constexpr Relationship kCustomerOf = Relationship::kCustomerOf;

struct Case {
  LinkParser parse;
  std::string line;
  std::uint32_t first;
  std::uint32_t second;
  Relationship relationship;
  bool unknownCode;
  const char* reason;  // null: the line is valid
};

TEST(LinkFormatsTest, LinesAndReasons) {
  const LinkParser s1 = parseSerial1Link;
  const LinkParser s2 = parseSerial2Link;
  const LinkParser snap = parseSnapCaidaLink;
  const LinkParser links = parseLinkListLink;
  const Case cases[] = {
      {s1, "1|2|-1", 1, 2, kProviderOf, false, nullptr},
      {s1, "7|3|0", 7, 3, kPeering, false, nullptr},
      {s1, "7|3|1", 7, 3, kUnoriented, true, nullptr},
      {s1, "7|3|2", 7, 3, kUnoriented, true, nullptr},
      {s1, "0|4294967295|-1", 0, 4294967295u, kProviderOf, false, nullptr},
      {s1, "1|4294967296|-1", 0, 0, kUnoriented, false, "invalid AS number `4294967296'"},
      {s1, "1|2|0|bgp", 0, 0, kUnoriented, false, "expected 3 fields separated by `|', found 4"},
      {s1, "1|2", 0, 0, kUnoriented, false, "expected 3 fields separated by `|', found 2"},
      {s1, "1 |2|0", 0, 0, kUnoriented, false, "invalid AS number `1 '"},
      {s1, "|2|0", 0, 0, kUnoriented, false, "invalid AS number `'"},
      {s1, "+1|2|0", 0, 0, kUnoriented, false, "invalid AS number `+1'"},
      {s1, "1.5|2|0", 0, 0, kUnoriented, false, "invalid AS number `1.5'"},
      {s1, "1|2|p2c", 0, 0, kUnoriented, false, "invalid relationship `p2c'"},
      {s1, "1|2|-", 0, 0, kUnoriented, false, "invalid relationship `-'"},
      {s1, "1|2|", 0, 0, kUnoriented, false, "invalid relationship `'"},
      {s1, "1|2|0 ", 0, 0, kUnoriented, false, "invalid relationship `0 '"},
      {s1, "1|\x1b[2J|0", 0, 0, kUnoriented, false, "invalid AS number `\\x1b[2J'"},
      {s2, "1|2|-1|bgp", 1, 2, kProviderOf, false, nullptr},
      {s2, "9|8|0|bgp,mlp", 9, 8, kPeering, false, nullptr},
      {s2, "9|8|0|", 9, 8, kPeering, false, nullptr},
      {s2, "9|8|0", 0, 0, kUnoriented, false, "expected 4 fields separated by `|', found 3"},
      {s2, "9|8|0|mlp|x", 0, 0, kUnoriented, false, "expected 4 fields separated by `|', found 5"},
      {snap, "5\t6\t1", 5, 6, kProviderOf, false, nullptr},
      {snap, "5\t6\t-1", 5, 6, kCustomerOf, false, nullptr},
      {snap, "5\t6\t0", 5, 6, kPeering, false, nullptr},
      {snap, "5\t6\t2", 5, 6, kUnoriented, false, nullptr},
      {snap, "5\t6\t3", 5, 6, kUnoriented, true, nullptr},
      {snap, "5\t6\t-2", 5, 6, kUnoriented, true, nullptr},
      {snap, "5 6 1", 0, 0, kUnoriented, false, "expected 3 tab-separated fields, found 1"},
      {snap, "5\t\t6\t1", 0, 0, kUnoriented, false, "expected 3 tab-separated fields, found 4"},
      {snap, "5\tx\t1", 0, 0, kUnoriented, false, "invalid AS number `x'"},
      {links, "1 2", 1, 2, kUnoriented, false, nullptr},
      {links, "1\t2", 1, 2, kUnoriented, false, nullptr},
      {links, "  1 \t 2\t ", 1, 2, kUnoriented, false, nullptr},
      {links, "1,2", 1, 2, kUnoriented, false, nullptr},
      {links, "1 , 2", 1, 2, kUnoriented, false, nullptr},
      {links, "70000 0", 70000, 0, kUnoriented, false, nullptr},
      {links, "1,,2", 0, 0, kUnoriented, false,
       "expected two AS numbers separated by blanks, tabs or one comma"},
      {links, "1 2 3", 0, 0, kUnoriented, false,
       "expected two AS numbers separated by blanks, tabs or one comma"},
      {links, "1", 0, 0, kUnoriented, false,
       "expected two AS numbers separated by blanks, tabs or one comma"},
      {links, ",1 2", 0, 0, kUnoriented, false,
       "expected two AS numbers separated by blanks, tabs or one comma"},
      {links, "1 2,", 0, 0, kUnoriented, false,
       "expected two AS numbers separated by blanks, tabs or one comma"},
      {links, "1|2", 0, 0, kUnoriented, false,
       "expected two AS numbers separated by blanks, tabs or one comma"},
      {links, "AS1 AS2", 0, 0, kUnoriented, false, "invalid AS number `AS1'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ParsedLink link;
    std::string reason;
    const bool ok = c.parse(c.line.data(), c.line.data() + c.line.size(), link, reason);
    if (c.reason != nullptr) {
      EXPECT_FALSE(ok);
      EXPECT_EQ(reason, c.reason);
      continue;
    }
    ASSERT_TRUE(ok) << reason;
    EXPECT_EQ(link.first, c.first);
    EXPECT_EQ(link.second, c.second);
    EXPECT_EQ(link.relationship, c.relationship);
    EXPECT_EQ(link.unknownCode, c.unknownCode);
  }
}

TEST(LinkFormatsTest, QuotedTextIsEscapedAndCut) {
  const std::string control = std::string("a\tb\x01\x7f\xc3\xa9", 7);
  EXPECT_EQ(quoted(control.data(), control.data() + control.size()), "`a\tb\\x01\\x7f\xc3\xa9'");
  const std::string nul("x\0y", 3);
  EXPECT_EQ(quoted(nul.data(), nul.data() + nul.size()), "`x\\x00y'");
  const std::string longText(100, 'z');
  EXPECT_EQ(quoted(longText.data(), longText.data() + longText.size()),
            "`" + std::string(80, 'z') + "...'");
}

TEST(LinkFormatsTest, FirstDataLineDecidesTheFormat) {
  struct Detection {
    const char* line;
    const char* format;  // null: no format
    const char* relationshipFormat;
  };
  const Detection cases[] = {
      {"1|2|-1", "serial-1", "serial-1"},
      {"1|2|-1|bgp", "serial-2", "serial-2"},
      {"1\t2\t-1", "snap-caida", "snap-caida"},
      {"1\t2", "links", nullptr},
      {"1 2", "links", nullptr},
      {"1,2", "links", nullptr},
      {"1 2 -1", nullptr, nullptr},
      {"1|2|p2c", nullptr, nullptr},
      {"TABLE_DUMP|1027382222|B|193.203.0.1|1853|3.0.0.0/8|1853 701 80|IGP|x|0|0||NAG||", "bgpdump",
       nullptr},
      {"TABLE_DUMP2|1277971199|B|202.249.2.169|2497|1.9.0.0/16|2497 4788|IGP|x|0|0||NAG||",
       "bgpdump", nullptr},
      {"BGP4MP|1277971199|STATE|202.249.2.169|2497|1|2", "bgpdump", nullptr},
      {"TABLE_DUMP2_AP|1452168107|B|10.0.15.1|65015|10.0.10.0/24|36|65015|IGP|x|100|0||NAG||",
       "bgpdump", nullptr},
      {"BGP4MP_ET|1445565678.509481|STATE|206.220.231.55|3856|1|2", "bgpdump", nullptr},
      {"BGP4MP_AP|1|A|10.0.0.1|100|10.3.0.0/16|7|5 6|IGP|x|0|0||NAG||", "bgpdump", nullptr},
      {"BGP4MP_ET_AP|1.5|A|10.0.0.1|100|10.3.0.0/16|7|5 6|IGP|x|0|0||NAG||", "bgpdump", nullptr},
      {"TABLE_DUMP3|1|B", nullptr, nullptr},
      {"TABLE_DUMP", nullptr, nullptr},
      {"<html>", nullptr, nullptr},
  };
  for (const Detection& c : cases) {
    SCOPED_TRACE(c.line);
    const char* end = c.line + std::strlen(c.line);
    const FormatEntry* any = detectFormat(c.line, end, false);
    const FormatEntry* relationships = detectFormat(c.line, end, true);
    EXPECT_STREQ(any != nullptr ? any->name : nullptr, c.format);
    EXPECT_STREQ(relationships != nullptr ? relationships->name : nullptr, c.relationshipFormat);
  }
  ASSERT_NE(findFormat("links"), nullptr);
  EXPECT_STREQ(findFormat("links")->name, "links");
  EXPECT_EQ(findFormat("bogus"), nullptr);
}

}  // namespace
