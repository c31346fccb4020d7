// IPv4 address sub-spaces, edge cases and the ends of
// the address space.

#include "iptools/ip_sub_space.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/iptools/ip_test_util.h"

namespace {

using iptest::intervalsOf;
using iptest::ip;
using iptest::items;
using iptest::kSpace;
using iptest::kTop;
using iptest::n;
using iptest::num;
using iptest::prefix;
using iptest::Range;
using iptest::rangeSet;
using iptest::setOf;
using iptest::str;

IPSubSpace space(const char* address, int length) { return IPSubSpace(prefix(address, length)); }

std::vector<std::string> prefixStrings(List<IPPrefix>& list) {
  std::vector<std::string> result;
  for (const IPPrefix& p : items(list)) {
    result.push_back(str(p));
  }
  return result;
}

std::vector<std::uint64_t> numbers(const List<IPAddress>& list) {
  std::vector<std::uint64_t> result;
  for (const IPAddress& a : items(list)) {
    result.push_back(num(a));
  }
  return result;
}

std::uint64_t countOf(const std::vector<Range>& ranges) {
  std::uint64_t count = 0;
  for (const Range& r : ranges) {
    count += r.second - r.first + 1;
  }
  return count;
}

// The representation invariants: every interval ordered, the
// intervals ascending, disjoint and non-adjacent, the count their sum.
void expectWellFormed(const IPSubSpace& s) {
  const std::vector<Range> ranges = intervalsOf(s);
  for (size_t i = 0; i < ranges.size(); ++i) {
    EXPECT_LE(ranges[i].first, ranges[i].second) << str(ranges);
    EXPECT_LE(ranges[i].second, kTop);
    if (i > 0) {
      EXPECT_GT(ranges[i].first, ranges[i - 1].second + 1)
          << "adjacent or overlapping: " << str(ranges);
    }
  }
  EXPECT_EQ(s.addresses(), countOf(ranges)) << str(ranges);
  EXPECT_EQ(s.isEmpty(), ranges.empty());
}

void expectSet(const IPSubSpace& s, const std::vector<Range>& expected) {
  expectWellFormed(s);
  EXPECT_EQ(intervalsOf(s), expected)
      << "got " << str(intervalsOf(s)) << ", want " << str(expected);
  EXPECT_EQ(s.addresses(), countOf(expected));
}

Range R(const char* first, const char* last) { return Range(n(first), n(last)); }

// ------------------------------------------------------------ construction

TEST(IPSubSpaceTest, Construction) {
  IPSubSpace empty;
  EXPECT_TRUE(empty.isEmpty());
  EXPECT_EQ(empty.addresses(), 0u);
  expectSet(empty, {});

  struct {
    const char* name;
    IPSubSpace set;
    std::vector<Range> intervals;
    std::uint64_t count;
  } const cases[] = {
      {"single address", IPSubSpace(ip("10.0.0.1")), {R("10.0.0.1", "10.0.0.1")}, 1},
      {"whole space", IPSubSpace(IPPrefix()), {Range(0, kTop)}, kSpace},
      {"0.0.0.0", IPSubSpace(ip("0.0.0.0")), {Range(0, 0)}, 1},
      {"255.255.255.255", IPSubSpace(ip("255.255.255.255")), {Range(kTop, kTop)}, 1},
      {"/24", space("10.0.0.0", 24), {R("10.0.0.0", "10.0.0.255")}, 256},
      {"top /24", space("255.255.255.0", 24), {R("255.255.255.0", "255.255.255.255")}, 256},
      {"top /1", space("128.0.0.0", 1), {Range(1ULL << 31, kTop)}, 1ULL << 31},
      {"bottom /1", space("0.0.0.0", 1), {Range(0, (1ULL << 31) - 1)}, 1ULL << 31},
      {"/32 prefix", space("10.9.8.7", 32), {R("10.9.8.7", "10.9.8.7")}, 1},
      {"classful C", IPSubSpace(IPPrefix(ip("192.0.2.7"))), {R("192.0.2.7", "192.0.3.6")}, 256},
      {"classful U", IPSubSpace(IPPrefix(ip("255.1.2.3"))), {R("255.1.2.3", "255.1.2.3")}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    expectSet(c.set, c.intervals);
    EXPECT_EQ(c.set.addresses(), c.count);
  }
}

TEST(IPSubSpaceTest, WholeSpaceListsAsOnePrefix) {
  IPSubSpace whole{IPPrefix()};
  EXPECT_EQ(prefixStrings(whole.listPrefixes()), std::vector<std::string>{"0.0.0.0/0"});
  IPSubSpace halves = space("0.0.0.0", 1) + space("128.0.0.0", 1);
  expectSet(halves, {Range(0, kTop)});
  EXPECT_TRUE(halves == whole);
  EXPECT_EQ(prefixStrings(halves.listPrefixes()), std::vector<std::string>{"0.0.0.0/0"});
}

// ------------------------------------------------------------------- union

struct SetPairCase {
  const char* name;
  std::vector<Range> a;
  std::vector<Range> b;
  std::vector<Range> expected;
};

TEST(IPSubSpaceTest, Join) {
  const SetPairCase cases[] = {
      {"touching /24s",
       {R("10.0.0.0", "10.0.0.255")},
       {R("10.0.1.0", "10.0.1.255")},
       {R("10.0.0.0", "10.0.1.255")}},
      {"gap of one stays",
       {R("1.0.0.0", "1.0.0.0")},
       {R("1.0.0.2", "1.0.0.2")},
       {R("1.0.0.0", "1.0.0.0"), R("1.0.0.2", "1.0.0.2")}},
      {"filling the gap merges",
       {R("1.0.0.0", "1.0.0.0"), R("1.0.0.2", "1.0.0.2")},
       {R("1.0.0.1", "1.0.0.1")},
       {R("1.0.0.0", "1.0.0.2")}},
      {"overlap",
       {R("10.0.0.0", "10.0.0.10")},
       {R("10.0.0.5", "10.0.0.20")},
       {R("10.0.0.0", "10.0.0.20")}},
      {"empty left", {}, {R("10.0.0.5", "10.0.0.20")}, {R("10.0.0.5", "10.0.0.20")}},
      {"empty right", {R("10.0.0.5", "10.0.0.20")}, {}, {R("10.0.0.5", "10.0.0.20")}},
      {"both empty", {}, {}, {}},
      {"contained",
       {R("10.0.0.0", "10.0.0.255")},
       {R("10.0.0.7", "10.0.0.9")},
       {R("10.0.0.0", "10.0.0.255")}},
      {"one bridges many",
       {R("1.0.0.0", "1.0.0.1"), R("1.0.0.4", "1.0.0.5"), R("1.0.0.8", "1.0.0.9")},
       {R("1.0.0.2", "1.0.0.7")},
       {R("1.0.0.0", "1.0.0.9")}},
      {"interleaved",
       {R("1.0.0.0", "1.0.0.0"), R("1.0.0.4", "1.0.0.4")},
       {R("1.0.0.2", "1.0.0.2"), R("1.0.0.6", "1.0.0.6")},
       {R("1.0.0.0", "1.0.0.0"), R("1.0.0.2", "1.0.0.2"), R("1.0.0.4", "1.0.0.4"),
        R("1.0.0.6", "1.0.0.6")}},
      {"same start",
       {R("1.0.0.0", "1.0.0.3")},
       {R("1.0.0.0", "1.0.0.9")},
       {R("1.0.0.0", "1.0.0.9")}},
      {"touch across an octet",
       {R("9.255.255.255", "9.255.255.255")},
       {R("10.0.0.0", "10.0.0.0")},
       {R("9.255.255.255", "10.0.0.0")}},
      // The ends of the address space.
      {"0.0.0.0 and 0.0.0.1 touch", {Range(0, 0)}, {Range(1, 1)}, {Range(0, 1)}},
      {"0.0.0.0 and 0.0.0.2 do not", {Range(0, 0)}, {Range(2, 2)}, {Range(0, 0), Range(2, 2)}},
      {"top pair touches",
       {Range(kTop - 1, kTop - 1)},
       {Range(kTop, kTop)},
       {Range(kTop - 1, kTop)}},
      {"top gap stays",
       {Range(kTop - 2, kTop - 2)},
       {Range(kTop, kTop)},
       {Range(kTop - 2, kTop - 2), Range(kTop, kTop)}},
      {"interval ending at the top absorbs later ones",
       {R("255.255.255.0", "255.255.255.255")},
       {R("255.255.255.128", "255.255.255.191"), Range(kTop, kTop)},
       {R("255.255.255.0", "255.255.255.255")}},
      {"later interval ending at the top",
       {R("255.255.255.0", "255.255.255.200")},
       {R("255.255.255.100", "255.255.255.255")},
       {R("255.255.255.0", "255.255.255.255")}},
      {"both ends", {Range(0, 0)}, {Range(kTop, kTop)}, {Range(0, 0), Range(kTop, kTop)}},
      {"whole space absorbs",
       {Range(0, kTop)},
       {Range(0, 0), Range(5, 9), Range(kTop, kTop)},
       {Range(0, kTop)}},
      {"0.0.0.0 joins the rest", {Range(0, 0)}, {Range(1, kTop)}, {Range(0, kTop)}},
      {"the rest joins 255.255.255.255",
       {Range(0, kTop - 1)},
       {Range(kTop, kTop)},
       {Range(0, kTop)}},
  };
  for (const SetPairCase& c : cases) {
    SCOPED_TRACE(c.name);
    const IPSubSpace a = setOf(c.a);
    const IPSubSpace b = setOf(c.b);
    expectSet(a.join(b), c.expected);
    expectSet(b.join(a), c.expected);
    expectSet(a, c.a);  // join leaves both operands alone
    expectSet(b, c.b);
  }
}

TEST(IPSubSpaceTest, JoinedPrefixesListAsOnePrefix) {
  IPSubSpace joined = space("10.0.0.0", 24).join(space("10.0.1.0", 24));
  EXPECT_EQ(joined.addresses(), 512u);
  EXPECT_EQ(prefixStrings(joined.listPrefixes()), std::vector<std::string>{"10.0.0.0/23"});
}

TEST(IPSubSpaceTest, SingleAddressesMergeWhenTheGapIsFilled) {
  IPSubSpace s(ip("1.0.0.0"));
  s += IPSubSpace(ip("1.0.0.2"));
  expectSet(s, {R("1.0.0.0", "1.0.0.0"), R("1.0.0.2", "1.0.0.2")});
  EXPECT_EQ(s.addresses(), 2u);
  s += IPSubSpace(ip("1.0.0.1"));
  expectSet(s, {R("1.0.0.0", "1.0.0.2")});
  EXPECT_EQ(s.addresses(), 3u);
}

// ------------------------------------------------------------ intersection

TEST(IPSubSpaceTest, Intersect) {
  const SetPairCase cases[] = {
      {"/24 and its upper /25",
       {R("10.0.0.0", "10.0.0.255")},
       {R("10.0.0.128", "10.0.0.255")},
       {R("10.0.0.128", "10.0.0.255")}},
      {"disjoint", {R("10.0.0.0", "10.0.0.255")}, {R("10.0.1.0", "10.0.1.255")}, {}},
      {"empty left", {}, {R("10.0.0.0", "10.0.0.3")}, {}},
      {"empty right", {R("10.0.0.0", "10.0.0.3")}, {}, {}},
      {"partial overlap",
       {R("10.0.0.0", "10.0.0.10")},
       {R("10.0.0.5", "10.0.0.20")},
       {R("10.0.0.5", "10.0.0.10")}},
      {"one cuts many",
       {R("1.0.0.0", "1.0.0.1"), R("1.0.0.4", "1.0.0.5"), R("1.0.0.8", "1.0.0.9")},
       {R("1.0.0.1", "1.0.0.8")},
       {R("1.0.0.1", "1.0.0.1"), R("1.0.0.4", "1.0.0.5"), R("1.0.0.8", "1.0.0.8")}},
      {"same end",
       {R("1.0.0.0", "1.0.0.9"), R("1.0.0.20", "1.0.0.29")},
       {R("1.0.0.5", "1.0.0.9"), R("1.0.0.25", "1.0.0.40")},
       {R("1.0.0.5", "1.0.0.9"), R("1.0.0.25", "1.0.0.29")}},
      {"single point overlap",
       {R("1.0.0.0", "1.0.0.5")},
       {R("1.0.0.5", "1.0.0.9")},
       {R("1.0.0.5", "1.0.0.5")}},
      {"adjacent is empty", {R("1.0.0.0", "1.0.0.4")}, {R("1.0.0.5", "1.0.0.9")}, {}},
      {"whole space",
       {Range(0, kTop)},
       {Range(0, 3), Range(kTop - 3, kTop)},
       {Range(0, 3), Range(kTop - 3, kTop)}},
      {"at the top",
       {R("255.255.255.0", "255.255.255.255")},
       {R("255.255.255.250", "255.255.255.255")},
       {R("255.255.255.250", "255.255.255.255")}},
      {"at the bottom", {Range(0, 10)}, {Range(0, 0), Range(10, 20)}, {Range(0, 0), Range(10, 10)}},
      {"both ends",
       {Range(0, 0), Range(kTop, kTop)},
       {Range(0, kTop)},
       {Range(0, 0), Range(kTop, kTop)}},
  };
  for (const SetPairCase& c : cases) {
    SCOPED_TRACE(c.name);
    const IPSubSpace a = setOf(c.a);
    const IPSubSpace b = setOf(c.b);
    expectSet(a.intersect(b), c.expected);
    expectSet(b.intersect(a), c.expected);
    expectSet(a, c.a);  // intersect leaves both operands alone
    expectSet(b, c.b);
  }
}

// ------------------------------------------------- equality and inclusion

struct RelationCase {
  const char* name;
  IPSubSpace a;
  IPSubSpace b;
  bool equal;
  bool aIncludesB;
  bool aIsIncludedInB;
};

TEST(IPSubSpaceTest, EqualityAndInclusion) {
  const RelationCase cases[] = {
      {"/8 and /16 inside", space("10.0.0.0", 8), space("10.1.0.0", 16), false, true, false},
      {"/16 inside /8", space("10.1.0.0", 16), space("10.0.0.0", 8), false, false, true},
      {"/8 and itself", space("10.0.0.0", 8), space("10.0.0.0", 8), true, false, false},
      {"same set built differently", space("10.0.0.0", 23),
       space("10.0.1.0", 24) + space("10.0.0.0", 24), true, false, false},
      {"disjoint", space("10.0.0.0", 24), space("10.0.1.0", 24), false, false, false},
      {"overlapping", setOf({Range(10, 20)}), setOf({Range(15, 25)}), false, false, false},
      {"same count, different sets", setOf({Range(10, 20)}), setOf({Range(11, 21)}), false, false,
       false},
      {"same count, different split", setOf({Range(0, 1), Range(5, 5)}),
       setOf({Range(0, 0), Range(4, 5)}), false, false, false},
      {"empty and empty", IPSubSpace(), IPSubSpace(), true, false, false},
      {"nonempty and empty", IPSubSpace(ip("1.2.3.4")), IPSubSpace(), false, true, false},
      {"empty and nonempty", IPSubSpace(), IPSubSpace(ip("1.2.3.4")), false, false, true},
      {"whole and top address", IPSubSpace(IPPrefix()), IPSubSpace(ip("255.255.255.255")), false,
       true, false},
      {"whole and whole", IPSubSpace(IPPrefix()), space("0.0.0.0", 1) + space("128.0.0.0", 1), true,
       false, false},
      {"superset of several intervals", setOf({Range(0, 100), Range(kTop - 100, kTop)}),
       setOf({Range(0, 0), Range(50, 60), Range(kTop, kTop)}), false, true, false},
      {"more addresses but not a superset", setOf({Range(0, 100)}),
       setOf({Range(0, 0), Range(kTop, kTop)}), false, false, false},
  };
  for (const RelationCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.a == c.b, c.equal);
    EXPECT_EQ(c.a != c.b, !c.equal);
    EXPECT_EQ(c.b == c.a, c.equal);
    EXPECT_EQ(c.a.includes(c.b), c.aIncludesB);
    EXPECT_EQ(c.b.isIncluded(c.a), c.aIncludesB);
    EXPECT_EQ(c.a.isIncluded(c.b), c.aIsIncludedInB);
    EXPECT_EQ(c.b.includes(c.a), c.aIsIncludedInB);
    // Neither includes itself.
    EXPECT_FALSE(c.a.includes(c.a));
    EXPECT_FALSE(c.a.isIncluded(c.a));
    EXPECT_TRUE(c.a == c.a);
  }
}

// ----------------------------------------------------------------- listing

struct PrefixListCase {
  const char* name;
  std::vector<Range> set;
  std::vector<std::string> prefixes;
};

TEST(IPSubSpaceTest, ListPrefixes) {
  const PrefixListCase cases[] = {
      {"0.0.0.0 to 0.0.0.5", {Range(0, 5)}, {"0.0.0.0/30", "0.0.0.4/31"}},
      {"10.0.0.1 to 10.0.0.6",
       {R("10.0.0.1", "10.0.0.6")},
       {"10.0.0.1/32", "10.0.0.2/31", "10.0.0.4/31", "10.0.0.6/32"}},
      {"empty", {}, {}},
      {"single 0.0.0.0", {Range(0, 0)}, {"0.0.0.0/32"}},
      {"single 255.255.255.255", {Range(kTop, kTop)}, {"255.255.255.255/32"}},
      {"top two", {Range(kTop - 1, kTop)}, {"255.255.255.254/31"}},
      {"top three", {Range(kTop - 2, kTop)}, {"255.255.255.253/32", "255.255.255.254/31"}},
      {"top /24", {R("255.255.255.0", "255.255.255.255")}, {"255.255.255.0/24"}},
      {"all but 0.0.0.0",
       {Range(1, kTop)},
       {"0.0.0.1/32",  "0.0.0.2/31",   "0.0.0.4/30",  "0.0.0.8/29",   "0.0.0.16/28", "0.0.0.32/27",
        "0.0.0.64/26", "0.0.0.128/25", "0.0.1.0/24",  "0.0.2.0/23",   "0.0.4.0/22",  "0.0.8.0/21",
        "0.0.16.0/20", "0.0.32.0/19",  "0.0.64.0/18", "0.0.128.0/17", "0.1.0.0/16",  "0.2.0.0/15",
        "0.4.0.0/14",  "0.8.0.0/13",   "0.16.0.0/12", "0.32.0.0/11",  "0.64.0.0/10", "0.128.0.0/9",
        "1.0.0.0/8",   "2.0.0.0/7",    "4.0.0.0/6",   "8.0.0.0/5",    "16.0.0.0/4",  "32.0.0.0/3",
        "64.0.0.0/2",  "128.0.0.0/1"}},
      {"all but 255.255.255.255",
       {Range(0, kTop - 1)},
       {"0.0.0.0/1",          "128.0.0.0/2",        "192.0.0.0/3",        "224.0.0.0/4",
        "240.0.0.0/5",        "248.0.0.0/6",        "252.0.0.0/7",        "254.0.0.0/8",
        "255.0.0.0/9",        "255.128.0.0/10",     "255.192.0.0/11",     "255.224.0.0/12",
        "255.240.0.0/13",     "255.248.0.0/14",     "255.252.0.0/15",     "255.254.0.0/16",
        "255.255.0.0/17",     "255.255.128.0/18",   "255.255.192.0/19",   "255.255.224.0/20",
        "255.255.240.0/21",   "255.255.248.0/22",   "255.255.252.0/23",   "255.255.254.0/24",
        "255.255.255.0/25",   "255.255.255.128/26", "255.255.255.192/27", "255.255.255.224/28",
        "255.255.255.240/29", "255.255.255.248/30", "255.255.255.252/31", "255.255.255.254/32"}},
      {"across 128.0.0.0",
       {R("127.255.255.254", "128.0.0.2")},
       {"127.255.255.254/31", "128.0.0.0/31", "128.0.0.2/32"}},
      {"two intervals",
       {Range(0, 0), Range(2, 9)},
       {"0.0.0.0/32", "0.0.0.2/31", "0.0.0.4/30", "0.0.0.8/31"}},
  };
  for (const PrefixListCase& c : cases) {
    SCOPED_TRACE(c.name);
    IPSubSpace s = setOf(c.set);
    EXPECT_EQ(prefixStrings(s.listPrefixes()), c.prefixes);
  }
}

TEST(IPSubSpaceTest, ListAddresses) {
  struct {
    const char* name;
    std::vector<Range> set;
    std::vector<std::uint64_t> addresses;
  } const cases[] = {
      {"top pair", {Range(kTop - 1, kTop)}, {kTop - 1, kTop}},
      {"empty", {}, {}},
      {"bottom", {Range(0, 2)}, {0, 1, 2}},
      {"both ends", {Range(0, 0), Range(kTop, kTop)}, {0, kTop}},
      {"two intervals", {Range(5, 6), Range(9, 9)}, {5, 6, 9}},
      {"across an octet",
       {R("10.0.0.254", "10.0.1.1")},
       {n("10.0.0.254"), n("10.0.0.255"), n("10.0.1.0"), n("10.0.1.1")}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    IPSubSpace s = setOf(c.set);
    EXPECT_EQ(numbers(s.listAddresses()), c.addresses);
  }
}

TEST(IPSubSpaceTest, ListsAreRefilledAndTheReferencesStay) {
  IPSubSpace s = setOf({Range(0, 3)});
  List<IPAddress>& addresses = s.listAddresses();
  List<IPPrefix>& prefixes = s.listPrefixes();
  s += IPSubSpace(ip("0.0.0.9"));
  // Unchanged until the next call of the same operation.
  EXPECT_EQ(numbers(addresses), (std::vector<std::uint64_t>{0, 1, 2, 3}));
  EXPECT_EQ(prefixStrings(prefixes), std::vector<std::string>{"0.0.0.0/30"});
  EXPECT_EQ(&s.listAddresses(), &addresses);
  EXPECT_EQ(numbers(addresses), (std::vector<std::uint64_t>{0, 1, 2, 3, 9}));
  EXPECT_EQ(&s.listPrefixes(), &prefixes);
  EXPECT_EQ(prefixStrings(prefixes), (std::vector<std::string>{"0.0.0.0/30", "0.0.0.9/32"}));
}

// ----------------------------------------- operators that change the left

TEST(IPSubSpaceTest, PlusAndTimesChangeTheLeftOperand) {
  const IPSubSpace aBefore = setOf({Range(0, 10), Range(40, 50)});
  const IPSubSpace bBefore = setOf({Range(5, 20), Range(kTop, kTop)});
  const IPSubSpace joined = aBefore.join(bBefore);
  const IPSubSpace common = aBefore.intersect(bBefore);
  expectSet(joined, {Range(0, 20), Range(40, 50), Range(kTop, kTop)});
  expectSet(common, {Range(5, 10)});

  {
    IPSubSpace a = aBefore;
    IPSubSpace b = bBefore;
    IPSubSpace& result = a + b;  // A holds the union afterwards
    EXPECT_EQ(&result, &a);
    EXPECT_TRUE(a == joined);
    EXPECT_TRUE(b == bBefore);
  }
  {
    IPSubSpace a = aBefore;
    IPSubSpace& result = a += bBefore;
    EXPECT_EQ(&result, &a);
    EXPECT_TRUE(a == joined);
  }
  {
    IPSubSpace a = aBefore;
    IPSubSpace b = bBefore;
    IPSubSpace& result = a * b;
    EXPECT_EQ(&result, &a);
    EXPECT_TRUE(a == common);
    EXPECT_TRUE(b == bBefore);
  }
  {
    IPSubSpace a = aBefore;
    IPSubSpace& result = a *= bBefore;
    EXPECT_EQ(&result, &a);
    EXPECT_TRUE(a == common);
  }
  {
    // With itself as the argument.
    IPSubSpace a = aBefore;
    a + a;
    EXPECT_TRUE(a == aBefore);
    a* a;
    EXPECT_TRUE(a == aBefore);
    EXPECT_TRUE(a.join(a) == aBefore);
    EXPECT_TRUE(a.intersect(a) == aBefore);
  }
}

// --------------------------------------------------- copy and assignment

TEST(IPSubSpaceTest, CopyDoesNotCopyTheResultLists) {
  IPSubSpace source = setOf({Range(0, 3)});
  source.listAddresses();
  source.listPrefixes();
  IPSubSpace copy(source);
  EXPECT_TRUE(copy == source);
  EXPECT_TRUE(IPToolsTestAccess::addressBuffer(copy).isEmpty());
  EXPECT_TRUE(IPToolsTestAccess::prefixBuffer(copy).isEmpty());
  // The copy is independent of the source.
  copy += IPSubSpace(ip("0.0.0.9"));
  expectSet(source, {Range(0, 3)});
  expectSet(copy, {Range(0, 3), Range(9, 9)});
}

TEST(IPSubSpaceTest, AssignmentKeepsTheTargetResultLists) {
  IPSubSpace source = setOf({Range(0, 3)});
  source.listAddresses();
  source.listPrefixes();
  IPSubSpace target = setOf({Range(100, 101)});
  List<IPAddress>& addresses = target.listAddresses();
  List<IPPrefix>& prefixes = target.listPrefixes();
  target = source;
  EXPECT_TRUE(target == source);
  expectSet(target, {Range(0, 3)});
  EXPECT_EQ(numbers(IPToolsTestAccess::addressBuffer(target)),
            (std::vector<std::uint64_t>{100, 101}));
  EXPECT_EQ(numbers(addresses), (std::vector<std::uint64_t>{100, 101}));
  EXPECT_EQ(prefixStrings(prefixes), std::vector<std::string>{"0.0.0.100/31"});
  // Assigning an empty set empties the value but keeps the lists.
  target = IPSubSpace();
  EXPECT_TRUE(target.isEmpty());
  EXPECT_EQ(target.addresses(), 0u);
  EXPECT_EQ(numbers(addresses), (std::vector<std::uint64_t>{100, 101}));
  // Self-assignment keeps the set.
  IPSubSpace& self = source;
  source = self;
  expectSet(source, {Range(0, 3)});
}

TEST(IPSubSpaceTest, IntervalRecord) {
  IPSubSpace::IPInterval zero;
  EXPECT_EQ(num(zero.firstAddress), 0u);
  EXPECT_EQ(num(zero.lastAddress), 0u);
  IPSubSpace::IPInterval interval(ip("1.2.3.4"), ip("1.2.3.9"));
  IPSubSpace::IPInterval assigned;
  assigned = interval;
  EXPECT_TRUE(assigned == interval);
  EXPECT_EQ(str(assigned.firstAddress), "1.2.3.4");
  EXPECT_EQ(str(assigned.lastAddress), "1.2.3.9");
}

// Many intervals: the tree stays a valid search tree and the operations stay
// exact on sets far larger than the random model's window.
TEST(IPSubSpaceTest, ManyIntervals) {
  IPSubSpace evens;
  IPSubSpace odds;
  // Built one address at a time, each union rebuilding the tree: 200
  // intervals keep this quick under the sanitizers.
  for (std::uint64_t i = 0; i < 400; i += 2) {
    evens += IPSubSpace(iptest::addr(kTop - i));  // descending insertion
    odds += IPSubSpace(iptest::addr(i + 1));
  }
  EXPECT_EQ(evens.addresses(), 200u);
  expectWellFormed(evens);
  EXPECT_EQ(intervalsOf(evens).size(), 200u);
  EXPECT_TRUE(evens.intersect(odds).isEmpty());

  IPSubSpace lowEvens;
  for (std::uint64_t i = 0; i < 400; i += 2) {
    lowEvens += IPSubSpace(iptest::addr(i));
  }
  const IPSubSpace all = lowEvens.join(odds);
  expectSet(all, {Range(0, 399)});
  EXPECT_TRUE(all.includes(odds));
  EXPECT_TRUE(lowEvens.isIncluded(all));
  EXPECT_EQ(prefixStrings(IPSubSpace(all).listPrefixes()),
            (std::vector<std::string>{"0.0.0.0/24", "0.0.1.0/25", "0.0.1.128/28"}));
}

}  // namespace
