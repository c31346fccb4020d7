// IPv4 addresses and netmasks.

#include "iptools/ip_address.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "iptools/ip_netmask.h"
#include "tests/iptools/ip_test_util.h"

namespace {

using iptest::ip;
using iptest::n;
using iptest::num;
using iptest::str;

std::uint64_t maskValue(const IPNetmask& netmask) {
  IPNetmask copy(netmask);
  const unsigned char* b = copy.getNetmask();
  return (std::uint64_t{b[0]} << 24) | (std::uint64_t{b[1]} << 16) | (std::uint64_t{b[2]} << 8) |
         std::uint64_t{b[3]};
}

// ---------------------------------------------------------------- netmasks

struct MaskBytesCase {
  unsigned char bytes[4];
  const char* expected;
  int length;
};

TEST(IPNetmaskTest, FromFourBytesKeepsContiguousMasksAndCorrectsOthers) {
  const MaskBytesCase cases[] = {
      {{255, 255, 254, 0}, "255.255.254.0", 23},    // kept
      {{255, 0, 255, 0}, "255.255.255.255", 32},    // later byte not 0
      {{255, 255, 253, 0}, "255.255.255.255", 32},  // 253 not ones-then-zeros
      {{0, 0, 0, 0}, "0.0.0.0", 0},                 // kept
      {{255, 255, 255, 255}, "255.255.255.255", 32},
      {{255, 255, 224, 0}, "255.255.224.0", 19},
      {{128, 0, 0, 0}, "128.0.0.0", 1},
      {{255, 255, 255, 254}, "255.255.255.254", 31},
      {{0, 255, 0, 0}, "255.255.255.255", 32},
      {{255, 255, 255, 1}, "255.255.255.255", 32},
      {{254, 0, 0, 1}, "255.255.255.255", 32},
      {{255, 128, 128, 0}, "255.255.255.255", 32},
      {{192, 0, 0, 0}, "192.0.0.0", 2},
  };
  for (const MaskBytesCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.bytes[0]) + "." + std::to_string(c.bytes[1]) + "." +
                 std::to_string(c.bytes[2]) + "." + std::to_string(c.bytes[3]));
    IPNetmask constructed(c.bytes[0], c.bytes[1], c.bytes[2], c.bytes[3]);
    EXPECT_EQ(str(constructed), c.expected);
    EXPECT_EQ(constructed.brief(), c.length);

    IPNetmask set(8);
    set.setNetmask(c.bytes[0], c.bytes[1], c.bytes[2], c.bytes[3]);
    EXPECT_EQ(str(set), c.expected);
    EXPECT_TRUE(set == constructed);
  }
}

struct MaskLengthCase {
  int length;
  const char* expected;
  int brief;
};

TEST(IPNetmaskTest, FromPrefixLength) {
  const MaskLengthCase cases[] = {
      {33, "255.255.255.255", 32}, {-1, "255.255.255.255", 32},  {0, "0.0.0.0", 0},
      {20, "255.255.240.0", 20},   {32, "255.255.255.255", 32},  {1, "128.0.0.0", 1},
      {8, "255.0.0.0", 8},         {9, "255.128.0.0", 9},        {24, "255.255.255.0", 24},
      {31, "255.255.255.254", 31}, {127, "255.255.255.255", 32}, {-128, "255.255.255.255", 32},
  };
  for (const MaskLengthCase& c : cases) {
    SCOPED_TRACE(c.length);
    IPNetmask constructed(static_cast<char>(c.length));
    EXPECT_EQ(str(constructed), c.expected);
    EXPECT_EQ(constructed.brief(), c.brief);

    IPNetmask set(0, 0, 0, 0);
    set.setNetmask(static_cast<char>(c.length));
    EXPECT_EQ(str(set), c.expected);
  }
}

TEST(IPNetmaskTest, DefaultIsAllOnes) {
  IPNetmask netmask;
  EXPECT_EQ(str(netmask), "255.255.255.255");
  EXPECT_EQ(netmask.brief(), 32);
}

TEST(IPNetmaskTest, EveryLengthRoundTripsThroughBrief) {
  for (int length = 0; length <= 32; ++length) {
    IPNetmask netmask(static_cast<char>(length));
    EXPECT_EQ(netmask.brief(), length);
    const std::uint64_t expected =
        length == 0 ? 0 : (0xFFFFFFFFULL << (32 - length)) & 0xFFFFFFFFULL;
    EXPECT_EQ(maskValue(netmask), expected) << length;
  }
}

struct MaskOrderCase {
  int a;
  int b;
  bool greater;
  bool less;
  bool equal;
};

TEST(IPNetmaskTest, OrderFollowsLength) {
  const MaskOrderCase cases[] = {
      {24, 16, true, false, false},  // /24 > /16
      {16, 24, false, true, false},  // /16 < /24
      {16, 16, false, false, true}, {0, 32, false, true, false}, {32, 0, true, false, false},
      {23, 22, true, false, false}, {1, 2, false, true, false},
  };
  for (const MaskOrderCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.a) + " vs " + std::to_string(c.b));
    IPNetmask a(static_cast<char>(c.a));
    IPNetmask b(static_cast<char>(c.b));
    EXPECT_EQ(a > b, c.greater);
    EXPECT_EQ(a < b, c.less);
    EXPECT_EQ(a == b, c.equal);
    EXPECT_EQ(a != b, !c.equal);
    EXPECT_EQ(a >= b, c.greater || c.equal);
    EXPECT_EQ(a <= b, c.less || c.equal);
  }
}

TEST(IPNetmaskTest, CopyAndOutputBuffer) {
  IPNetmask original(static_cast<char>(20));
  IPNetmask copy(original);
  EXPECT_TRUE(copy == original);
  IPNetmask assigned;
  assigned = original;
  EXPECT_TRUE(assigned == original);

  unsigned char* out = original.getNetmask();
  EXPECT_EQ(out[0], 255);
  EXPECT_EQ(out[2], 240);
  out[0] = 0;  // writing into the output buffer does not change the value
  EXPECT_EQ(original.brief(), 20);
  EXPECT_EQ(original.getNetmask()[0], 255);
}

// --------------------------------------------------------------- addresses

TEST(IPAddressTest, ConstructionAndBytes) {
  IPAddress zero;
  EXPECT_EQ(num(zero), 0u);
  IPAddress address(192, 0, 2, 1);
  unsigned char* bytes = address.getAddress();
  EXPECT_EQ(bytes[0], 192);
  EXPECT_EQ(bytes[1], 0);
  EXPECT_EQ(bytes[2], 2);
  EXPECT_EQ(bytes[3], 1);
  bytes[0] = 10;  // the output buffer is not the value
  EXPECT_EQ(str(address), "192.0.2.1");

  address.setAddress(10, 1, 2, 3);
  EXPECT_EQ(str(address), "10.1.2.3");
  IPAddress copy(address);
  EXPECT_TRUE(copy == address);
  IPAddress assigned;
  assigned = address;
  EXPECT_TRUE(assigned == address);
}

struct OrderCase {
  const char* a;
  const char* b;
  int sign;  // -1: a < b, 0: equal, 1: a > b
};

TEST(IPAddressTest, NumericOrder) {
  const OrderCase cases[] = {
      {"9.255.255.255", "10.0.0.0", -1},   {"10.0.0.0", "9.255.255.255", 1},
      {"10.0.0.1", "10.0.0.1", 0},         {"0.0.0.0", "255.255.255.255", -1},
      {"128.0.0.0", "127.255.255.255", 1}, {"10.0.1.0", "10.0.0.255", 1},
      {"10.1.0.0", "10.0.255.255", 1},
  };
  for (const OrderCase& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
    const IPAddress a = ip(c.a);
    const IPAddress b = ip(c.b);
    EXPECT_EQ(a < b, c.sign < 0);
    EXPECT_EQ(a > b, c.sign > 0);
    EXPECT_EQ(a == b, c.sign == 0);
    EXPECT_EQ(a != b, c.sign != 0);
    EXPECT_EQ(a <= b, c.sign <= 0);
    EXPECT_EQ(a >= b, c.sign >= 0);
  }
}

struct RangeCountCase {
  const char* a;
  const char* b;
  unsigned long long count;
};

TEST(IPAddressTest, DifferenceCountsTheClosedRange) {
  const RangeCountCase cases[] = {
      {"10.0.0.5", "10.0.0.1", 5},
      {"10.0.0.1", "10.0.0.5", 5},
      {"10.0.0.1", "10.0.0.1", 1},
      {"255.255.255.255", "0.0.0.0", 4294967296ULL},
      {"0.0.0.0", "255.255.255.255", 4294967296ULL},
      {"0.0.0.0", "0.0.0.0", 1},
      {"255.255.255.255", "255.255.255.254", 2},
      {"10.0.1.0", "10.0.0.255", 2},
  };
  for (const RangeCountCase& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " - " + c.b);
    EXPECT_EQ(ip(c.a) - ip(c.b), c.count);
  }
}

struct OffsetCase {
  const char* a;
  char op;  // '+' or '-'
  unsigned long long offset;
  const char* expected;
};

TEST(IPAddressTest, OffsetArithmeticWraps) {
  const OffsetCase cases[] = {
      {"10.0.0.255", '+', 1, "10.0.1.0"},
      {"255.255.255.255", '+', 1, "0.0.0.0"},
      {"10.1.2.3", '+', 4294967296ULL, "10.1.2.3"},  // 2^32
      {"0.0.0.0", '-', 1, "255.255.255.255"},
      {"10.0.1.0", '-', 1, "10.0.0.255"},
      {"10.1.2.3", '-', 4294967296ULL, "10.1.2.3"},
      {"0.0.0.0", '+', 4294967295ULL, "255.255.255.255"},
      {"255.255.255.255", '-', 4294967295ULL, "0.0.0.0"},
      {"1.2.3.4", '+', 0x100000005ULL, "1.2.3.9"},
      {"1.2.3.4", '-', 0x100000005ULL, "1.2.2.255"},
      {"10.0.0.0", '+', 65536, "10.1.0.0"},
      {"0.0.0.5", '-', 6, "255.255.255.255"},
      {"1.0.0.0", '+', 0xFFFFFFFFFFFFFFFFULL, "0.255.255.255"},
  };
  for (const OffsetCase& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " " + c.op + " " + std::to_string(c.offset));
    const std::string expected = c.expected;
    IPAddress a = ip(c.a);
    const IPAddress result = c.op == '+' ? a + c.offset : a - c.offset;
    EXPECT_EQ(str(result), expected);
    EXPECT_EQ(str(a), c.a);  // + and - leave the operand alone
    IPAddress changed = ip(c.a);
    IPAddress& ref = c.op == '+' ? (changed += c.offset) : (changed -= c.offset);
    EXPECT_EQ(&ref, &changed);
    EXPECT_EQ(str(changed), expected);
  }
}

TEST(IPAddressTest, Mask) {
  struct {
    const char* address;
    int length;
    const char* expected;
  } const cases[] = {
      {"10.1.2.3", 16, "10.1.0.0"},          {"10.1.2.3", 0, "0.0.0.0"},
      {"10.1.2.3", 32, "10.1.2.3"},          {"192.0.2.77", 26, "192.0.2.64"},
      {"255.255.255.255", 9, "255.128.0.0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.address) + "/" + std::to_string(c.length));
    EXPECT_EQ(str(ip(c.address).mask(IPNetmask(static_cast<char>(c.length)))), c.expected);
  }
  EXPECT_EQ(str(ip("10.1.2.3").mask(IPNetmask(255, 255, 0, 0))), "10.1.0.0");
}

TEST(IPAddressTest, ClassfulClass) {
  struct {
    const char* address;
    char letter;
  } const cases[] = {
      {"0.1.2.3", 'U'},   {"127.0.0.1", 'A'},       {"191.255.0.0", 'B'}, {"223.1.1.1", 'C'},
      {"239.0.0.1", 'D'}, {"247.0.0.1", 'E'},       {"248.0.0.1", 'U'},   {"0.0.0.0", 'U'},
      {"1.0.0.0", 'A'},   {"128.0.0.0", 'B'},       {"192.0.0.0", 'C'},   {"224.0.0.0", 'D'},
      {"240.0.0.0", 'E'}, {"255.255.255.255", 'U'},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address);
    EXPECT_EQ(ip(c.address).ipClass(), c.letter);
  }
}

TEST(IPAddressTest, NumericValueMatchesBytes) {
  EXPECT_EQ(num(IPAddress(192, 0, 2, 1)), n("192.0.2.1"));
  EXPECT_EQ(num(IPAddress(192, 0, 2, 1)), 192ULL * 16777216 + 2 * 256 + 1);
}

}  // namespace
