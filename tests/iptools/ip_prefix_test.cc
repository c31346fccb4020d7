// IPv4 prefixes.

#include "iptools/ip_prefix.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/iptools/ip_test_util.h"

namespace {

using iptest::ip;
using iptest::items;
using iptest::n;
using iptest::num;
using iptest::prefix;
using iptest::str;

TEST(IPPrefixTest, DefaultIsTheWholeSpace) {
  IPPrefix whole;
  EXPECT_EQ(str(whole.address()), "0.0.0.0");
  EXPECT_EQ(str(whole.netmask()), "0.0.0.0");
  EXPECT_EQ(whole.addresses(), 4294967296ULL);
  EXPECT_TRUE(IPToolsTestAccess::addressBuffer(whole).isEmpty());
}

struct ConstructCase {
  const char* address;
  int length;  // -100: classful constructor from the address alone
  const char* expectedAddress;
  const char* expectedNetmask;
  unsigned long long addresses;
};

TEST(IPPrefixTest, Construction) {
  const ConstructCase cases[] = {
      {"10.1.2.3", 16, "10.1.0.0", "255.255.0.0", 65536},
      {"10.1.2.3", -100, "10.1.2.3", "255.0.0.0", 16777216},     // class A
      {"172.16.5.4", -100, "172.16.5.4", "255.255.0.0", 65536},  // class B
      {"192.0.2.7", -100, "192.0.2.7", "255.255.255.0", 256},    // class C
      {"224.0.0.1", -100, "224.0.0.1", "255.255.255.255", 1},    // class D
      {"0.1.2.3", -100, "0.1.2.3", "255.255.255.255", 1},        // class U
      {"247.1.2.3", -100, "247.1.2.3", "255.255.255.255", 1},    // class E
      {"255.255.255.255", -100, "255.255.255.255", "255.255.255.255", 1},
      {"192.0.2.200", 24, "192.0.2.0", "255.255.255.0", 256},
      {"255.255.255.255", 0, "0.0.0.0", "0.0.0.0", 4294967296ULL},
      {"255.255.255.255", 32, "255.255.255.255", "255.255.255.255", 1},
      {"10.1.2.3", 33, "10.1.2.3", "255.255.255.255", 1},  // bad length counts as 32
      {"128.0.0.1", 1, "128.0.0.0", "128.0.0.0", 2147483648ULL},
  };
  for (const ConstructCase& c : cases) {
    SCOPED_TRACE(std::string(c.address) + " " + std::to_string(c.length));
    const IPPrefix p = c.length == -100 ? IPPrefix(ip(c.address)) : prefix(c.address, c.length);
    EXPECT_EQ(str(p.address()), c.expectedAddress);
    EXPECT_EQ(str(p.netmask()), c.expectedNetmask);
    EXPECT_EQ(p.addresses(), c.addresses);
  }
}

TEST(IPPrefixTest, ConstructionFromFourByteNetmask) {
  IPPrefix p(ip("10.1.2.3"), IPNetmask(255, 255, 0, 0));
  EXPECT_EQ(str(p), "10.1.0.0/16");
  // A bad mask is corrected to 255.255.255.255 before it reaches the prefix.
  IPPrefix q(ip("10.1.2.3"), IPNetmask(255, 0, 255, 0));
  EXPECT_EQ(str(q), "10.1.2.3/32");
}

struct SpecificCase {
  const char* a;
  int aLength;
  const char* b;
  int bLength;
  bool more;  // a.isMoreSpecific(b)
  bool less;  // a.isLessSpecific(b)
};

TEST(IPPrefixTest, MoreAndLessSpecific) {
  const SpecificCase cases[] = {
      {"10.1.0.0", 16, "10.0.0.0", 8, true, false},
      {"10.0.0.0", 8, "10.1.0.0", 16, false, true},
      {"11.1.0.0", 16, "10.0.0.0", 8, false, false},  // outside
      {"10.0.0.0", 8, "11.1.0.0", 16, false, false},
      {"10.0.0.0", 8, "10.0.0.0", 8, false, false},  // itself
      {"10.1.0.0", 16, "10.1.0.0", 16, false, false},
      {"0.0.0.0", 0, "0.0.0.0", 0, false, false},
      {"1.2.3.4", 32, "0.0.0.0", 0, true, false},
      {"0.0.0.0", 0, "255.255.255.255", 32, false, true},
      {"10.0.0.0", 8, "10.0.0.0", 9, false, true},
      {"10.128.0.0", 9, "10.0.0.0", 8, true, false},
      {"10.0.0.0", 16, "10.1.0.0", 16, false, false},  // same length, different
  };
  for (const SpecificCase& c : cases) {
    SCOPED_TRACE(std::string(c.a) + "/" + std::to_string(c.aLength) + " vs " + c.b + "/" +
                 std::to_string(c.bLength));
    const IPPrefix a = prefix(c.a, c.aLength);
    const IPPrefix b = prefix(c.b, c.bLength);
    EXPECT_EQ(a.isMoreSpecific(b), c.more);
    EXPECT_EQ(a.isLessSpecific(b), c.less);
  }
}

TEST(IPPrefixTest, Equality) {
  EXPECT_TRUE(prefix("10.1.2.3", 16) == prefix("10.1.0.0", 16));
  EXPECT_FALSE(prefix("10.1.2.3", 16) != prefix("10.1.0.0", 16));
  EXPECT_TRUE(prefix("10.0.0.0", 16) != prefix("10.0.0.0", 8));
  EXPECT_TRUE(prefix("10.0.0.0", 16) != prefix("10.1.0.0", 16));
  // Classful prefixes keep the address unmasked, so they differ from the
  // masked prefix of the same length.
  EXPECT_TRUE(IPPrefix(ip("10.1.2.3")) != prefix("10.0.0.0", 8));
  EXPECT_TRUE(IPPrefix(ip("10.0.0.0")) == prefix("10.0.0.0", 8));
}

std::vector<std::uint64_t> numbers(const List<IPAddress>& list) {
  std::vector<std::uint64_t> result;
  for (const IPAddress& a : items(list)) {
    result.push_back(num(a));
  }
  return result;
}

std::vector<std::uint64_t> run(std::uint64_t first, std::uint64_t count) {
  std::vector<std::uint64_t> result;
  for (std::uint64_t i = 0; i < count; ++i) {
    result.push_back(first + i);
  }
  return result;
}

struct ListCase {
  const char* address;
  int length;  // -100: classful constructor
  std::uint64_t first;
  std::uint64_t count;
};

TEST(IPPrefixTest, ListAddresses) {
  const ListCase cases[] = {
      {"192.0.2.0", 24, n("192.0.2.0"), 256},
      {"255.255.255.255", 32, n("255.255.255.255"), 1},
      {"255.255.255.254", 31, n("255.255.255.254"), 2},
      {"255.255.255.0", 24, n("255.255.255.0"), 256},
      {"0.0.0.0", 30, 0, 4},
      {"10.0.0.255", 32, n("10.0.0.255"), 1},
      {"224.0.0.1", -100, n("224.0.0.1"), 1},
      {"192.0.2.7", -100, n("192.0.2.7"), 256},  // from the stored address upwards
      {"223.255.255.255", -100, n("223.255.255.255"), 256},
  };
  for (const ListCase& c : cases) {
    SCOPED_TRACE(std::string(c.address) + " " + std::to_string(c.length));
    IPPrefix p = c.length == -100 ? IPPrefix(ip(c.address)) : prefix(c.address, c.length);
    EXPECT_EQ(numbers(p.listAddresses()), run(c.first, c.count));
  }
}

TEST(IPPrefixTest, ListAddressesRefillsAndKeepsTheReference) {
  IPPrefix p = prefix("10.0.0.0", 30);
  List<IPAddress>& first = p.listAddresses();
  EXPECT_EQ(first.len(), 4u);
  List<IPAddress>& second = p.listAddresses();
  EXPECT_EQ(&first, &second);
  EXPECT_EQ(numbers(second), run(n("10.0.0.0"), 4));  // refilled, not appended
}

TEST(IPPrefixTest, AssignmentKeepsTheTargetListAndCopyCopiesIt) {
  IPPrefix source = prefix("192.0.2.0", 30);
  source.listAddresses();
  IPPrefix target = prefix("10.0.0.0", 31);
  List<IPAddress>& targetList = target.listAddresses();

  target = source;  // the target's address list stays as it was
  EXPECT_TRUE(target == source);
  EXPECT_EQ(str(target), "192.0.2.0/30");
  EXPECT_EQ(numbers(targetList), run(n("10.0.0.0"), 2));
  EXPECT_EQ(numbers(IPToolsTestAccess::addressBuffer(target)), run(n("10.0.0.0"), 2));

  IPPrefix copy(source);  // copy construction copies the list
  EXPECT_TRUE(copy == source);
  EXPECT_EQ(numbers(IPToolsTestAccess::addressBuffer(copy)), run(n("192.0.2.0"), 4));

  IPPrefix fresh;
  IPPrefix copyOfFresh(fresh);
  EXPECT_TRUE(IPToolsTestAccess::addressBuffer(copyOfFresh).isEmpty());
}

}  // namespace
