#include "importer/bgpdump_route.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::string tableLine(const std::string& prefix, const std::string& path,
                      const std::string& kind = "B") {
  return "TABLE_DUMP2|1277971199|" + kind + "|202.249.2.20|4777|" + prefix + "|" + path +
         "|IGP|202.249.2.20|0|0||NAG||";
}

struct RouteCase {
  const char* what;
  std::string line;
  RouteVerdict verdict;
  std::vector<std::uint32_t> path;  // checked for RouteVerdict::route
  bool cutAtAsSet;
};

TEST(BgpdumpRouteTest, PathRules) {
  const std::vector<RouteCase> cases = {
      {"plain path",
       tableLine("1.9.0.0/16", "2497 2914 4788"),
       RouteVerdict::route,
       {2497, 2914, 4788},
       false},
      {"prepending collapses",
       tableLine("1.9.0.0/16", "4777 4777 2516 4788 4788 4788"),
       RouteVerdict::route,
       {4777, 2516, 4788},
       false},
      {"loop after collapsing",
       tableLine("1.9.0.0/16", "4777 2516 4777"),
       RouteVerdict::pathLoop,
       {},
       false},
      {"loop through prepending",
       tableLine("1.9.0.0/16", "1 2 2 3 2"),
       RouteVerdict::pathLoop,
       {},
       false},
      {"AS set ends the path",
       tableLine("1.9.0.0/16", "1 2 {3,4} 5"),
       RouteVerdict::route,
       {1, 2},
       true},
      {"nothing after a set is read",
       tableLine("1.9.0.0/16", "1 2 {3} x 1"),
       RouteVerdict::route,
       {1, 2},
       true},
      {"a set first leaves an empty path",
       tableLine("1.9.0.0/16", "{7018}"),
       RouteVerdict::route,
       {},
       true},
      {"empty path", tableLine("1.9.0.0/16", ""), RouteVerdict::route, {}, false},
      {"32-bit decimal numbers are kept",
       tableLine("1.9.0.0/16", "4777 4200000000 0 4294967295"),
       RouteVerdict::route,
       {4777, 4200000000u, 0, 4294967295u},
       false},
      {"X.Y numbers",
       tableLine("1.9.0.0/16", "1.0 0.65535 65535.65535 3.10"),
       RouteVerdict::route,
       {65536, 65535, 4294967295u, 196618},
       false},
      {"X.Y and decimal forms collapse together",
       tableLine("1.9.0.0/16", "1.0 65536 7"),
       RouteVerdict::route,
       {65536, 7},
       false},
      {"runs of blanks", tableLine("1.9.0.0/16", "  1\t 2  "), RouteVerdict::route, {1, 2}, false},
      {"letters", tableLine("1.9.0.0/16", "1 AS2 3"), RouteVerdict::badAsNumber, {}, false},
      {"beyond 32 bits",
       tableLine("1.9.0.0/16", "1 4294967296"),
       RouteVerdict::badAsNumber,
       {},
       false},
      {"X.Y beyond 16 bits",
       tableLine("1.9.0.0/16", "1 65536.0"),
       RouteVerdict::badAsNumber,
       {},
       false},
      {"X.Y with a missing half",
       tableLine("1.9.0.0/16", "1 2."),
       RouteVerdict::badAsNumber,
       {},
       false},
      {"three parts", tableLine("1.9.0.0/16", "1 1.2.3"), RouteVerdict::badAsNumber, {}, false},
      {"sign", tableLine("1.9.0.0/16", "1 +2"), RouteVerdict::badAsNumber, {}, false},
      {"a bad token before a loop",
       tableLine("1.9.0.0/16", "1 x 1"),
       RouteVerdict::badAsNumber,
       {},
       false},
  };
  BgpdumpRoute route;
  route.path = {99, 98};  // left over from an earlier line: must not leak in
  for (const RouteCase& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(parseBgpdumpLine(c.line, route), c.verdict);
    if (c.verdict == RouteVerdict::route) {
      EXPECT_EQ(route.path, c.path);
      EXPECT_EQ(route.cutAtAsSet, c.cutAtAsSet);
    }
  }
}

TEST(BgpdumpRouteTest, LinesAndPrefixes) {
  struct PrefixCase {
    const char* what;
    std::string line;
    RouteVerdict verdict;
    std::uint32_t network;
    int length;
  };
  const std::vector<PrefixCase> cases = {
      {"network", tableLine("1.12.0.0/14", "1"), RouteVerdict::route, 0x010C0000, 14},
      {"host bits cleared", tableLine("10.1.2.3/8", "1"), RouteVerdict::route, 0x0A000000, 8},
      {"host route", tableLine("192.0.2.7/32", "1"), RouteVerdict::route, 0xC0000207, 32},
      {"default route", tableLine("0.0.0.0/0", "1"), RouteVerdict::route, 0, 0},
      {"default route with host bits", tableLine("255.1.2.3/0", "1"), RouteVerdict::route, 0, 0},
      {"top of the space", tableLine("255.255.255.255/31", "1"), RouteVerdict::route, 0xFFFFFFFE,
       31},
      {"IPv6", tableLine("2001:db8::/32", "1 2"), RouteVerdict::notIPv4, 0, 0},
      {"IPv6 with a bad path", tableLine("2001:db8::/32", "x"), RouteVerdict::notIPv4, 0, 0},
      {"withdrawal", tableLine("1.9.0.0/16", "1 2", "W"), RouteVerdict::notTableEntry, 0, 0},
      {"announcement", tableLine("1.9.0.0/16", "1 2", "A"), RouteVerdict::notTableEntry, 0, 0},
      {"lower-case b", tableLine("1.9.0.0/16", "1 2", "b"), RouteVerdict::notTableEntry, 0, 0},
      {"state change", "BGP4MP|1277971199|STATE|202.249.2.20|4777|1|2", RouteVerdict::notTableEntry,
       0, 0},
      {"empty line", "", RouteVerdict::notTableEntry, 0, 0},
      {"two fields", "TABLE_DUMP|1", RouteVerdict::notTableEntry, 0, 0},
      {"B without the path", "TABLE_DUMP|1|B|1.2.3.4|1|10.0.0.0/8", RouteVerdict::badPrefix, 0, 0},
      {"path as the last field", "TABLE_DUMP|1|B|1.2.3.4|1|10.0.0.0/8|1 2", RouteVerdict::route,
       0x0A000000, 8},
      {"octet above 255", tableLine("10.256.0.0/16", "1"), RouteVerdict::badPrefix, 0, 0},
      {"length above 32", tableLine("10.0.0.0/33", "1"), RouteVerdict::badPrefix, 0, 0},
      {"no length", tableLine("10.0.0.0", "1"), RouteVerdict::badPrefix, 0, 0},
      {"three octets", tableLine("10.0.0/8", "1"), RouteVerdict::badPrefix, 0, 0},
      {"five octets", tableLine("10.0.0.0.0/8", "1"), RouteVerdict::badPrefix, 0, 0},
      {"empty octet", tableLine("10..0.0/8", "1"), RouteVerdict::badPrefix, 0, 0},
  };
  BgpdumpRoute route;
  for (const PrefixCase& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(parseBgpdumpLine(c.line, route), c.verdict);
    if (c.verdict == RouteVerdict::route) {
      EXPECT_EQ(route.network, c.network);
      EXPECT_EQ(route.length, c.length);
    }
  }
}

// Lines of records with path identifiers carry the identifier before the path;
// announcements are routes only when asked for.
TEST(BgpdumpRouteTest, PathIdentifiersAndAnnouncements) {
  struct KindCase {
    const char* line;
    bool announcements;
    RouteVerdict verdict;
    std::vector<std::uint32_t> path;
  };
  const KindCase cases[] = {
      {"TABLE_DUMP2_AP|1|B|10.0.15.1|65015|10.0.10.0/24|36|65015 65014|IGP|x|100|0||NAG||",
       false,
       RouteVerdict::route,
       {65015, 65014}},
      {"TABLE_DUMP2_AP|1|B|10.0.15.1|65015|10.0.10.0/24|36", false, RouteVerdict::badPrefix, {}},
      {"BGP4MP_AP|1|A|10.0.0.1|100|10.3.0.0/16|7|5 6|IGP|x|0|0||NAG||",
       true,
       RouteVerdict::route,
       {5, 6}},
      {"BGP4MP_ET_AP|1.5|A|10.0.0.1|100|10.3.0.0/16|7|5 6|IGP|x|0|0||NAG||",
       true,
       RouteVerdict::route,
       {5, 6}},
      {"BGP4MP_AP|1|A|10.0.0.1|100|10.3.0.0/16|7|5 6|IGP|x|0|0||NAG||",
       false,
       RouteVerdict::notTableEntry,
       {}},
      {"BGP4MP_ET|1.5|A|10.0.0.1|100|10.3.0.0/16|5 6 5|IGP|x|0|0||NAG||",
       true,
       RouteVerdict::pathLoop,
       {}},
      {"BGP4MP|1|W|10.0.0.1|100|10.3.0.0/16", true, RouteVerdict::notTableEntry, {}},
  };
  BgpdumpRoute route;
  for (const KindCase& c : cases) {
    SCOPED_TRACE(c.line);
    ASSERT_EQ(parseBgpdumpLine(c.line, route, c.announcements), c.verdict);
    if (c.verdict == RouteVerdict::route) {
      EXPECT_EQ(route.path, c.path);
    }
  }
}

TEST(BgpdumpRouteTest, LongLoopingPathIsFoundQuickly) {
  std::string path;
  for (int i = 1; i <= 100000; ++i) {
    path += std::to_string(i) + " ";
  }
  BgpdumpRoute route;
  EXPECT_EQ(parseBgpdumpLine(tableLine("1.0.0.0/8", path), route), RouteVerdict::route);
  EXPECT_EQ(route.path.size(), 100000u);
  EXPECT_EQ(parseBgpdumpLine(tableLine("1.0.0.0/8", path + "50000"), route),
            RouteVerdict::pathLoop);
}

}  // namespace
