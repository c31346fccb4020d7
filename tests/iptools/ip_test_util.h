#ifndef TESTS_IPTOOLS_IP_TEST_UTIL_H_
#define TESTS_IPTOOLS_IP_TEST_UTIL_H_

// Helpers shared by the IPv4 toolkit tests: numeric conversions, dotted-quad
// parsing, printers for readable failure messages, list snapshots and
// read-only access to the result buffers.

#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "graph/list.h"
#include "iptools/ip_address.h"
#include "iptools/ip_netmask.h"
#include "iptools/ip_prefix.h"
#include "iptools/ip_sub_space.h"

// Friend of IPPrefix and IPSubSpace: read-only views of their result buffers.
class IPToolsTestAccess {
 public:
  static const List<IPAddress>& addressBuffer(const IPPrefix& prefix) { return prefix.addressList; }
  static const List<IPAddress>& addressBuffer(const IPSubSpace& space) { return space.addressList; }
  static const List<IPPrefix>& prefixBuffer(const IPSubSpace& space) { return space.prefixList; }
};

namespace iptest {

constexpr std::uint64_t kSpace = 1ULL << 32;
constexpr std::uint64_t kTop = kSpace - 1;

// Numeric value of an address, 0 to 2^32 - 1.
inline std::uint64_t num(const IPAddress& address) {
  IPAddress copy(address);
  const unsigned char* b = copy.getAddress();
  return (std::uint64_t{b[0]} << 24) | (std::uint64_t{b[1]} << 16) | (std::uint64_t{b[2]} << 8) |
         std::uint64_t{b[3]};
}

// The address with a numeric value below 2^32.
inline IPAddress addr(std::uint64_t value) {
  return IPAddress(static_cast<unsigned char>(value >> 24), static_cast<unsigned char>(value >> 16),
                   static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value));
}

// Dotted quad "a.b.c.d" to its numeric value.
inline std::uint64_t n(const char* dotted) {
  unsigned a = 0;
  unsigned b = 0;
  unsigned c = 0;
  unsigned d = 0;
  std::sscanf(dotted, "%u.%u.%u.%u", &a, &b, &c, &d);
  return (std::uint64_t{a} << 24) | (std::uint64_t{b} << 16) | (std::uint64_t{c} << 8) | d;
}

inline IPAddress ip(const char* dotted) { return addr(n(dotted)); }

// The prefix written as "address/length".
inline IPPrefix prefix(const char* address, int length) {
  return IPPrefix(ip(address), IPNetmask(static_cast<char>(length)));
}

inline std::string str(std::uint64_t value) {
  return std::to_string(value >> 24 & 255) + "." + std::to_string(value >> 16 & 255) + "." +
         std::to_string(value >> 8 & 255) + "." + std::to_string(value & 255);
}

inline std::string str(const IPAddress& address) { return str(num(address)); }

inline std::string str(const IPNetmask& netmask) {
  IPNetmask copy(netmask);
  const unsigned char* b = copy.getNetmask();
  return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." +
         std::to_string(b[3]);
}

inline std::string str(const IPPrefix& prefix) {
  return str(prefix.address()) + "/" + std::to_string(static_cast<int>(prefix.netmask().brief()));
}

// Snapshot of a list, walked on a copy so the original is left alone.
template <class T>
std::vector<T> items(const List<T>& list) {
  List<T> copy(list);
  std::vector<T> result;
  while (!copy.isEmpty()) {
    result.push_back(copy.pop());
  }
  return result;
}

using Range = std::pair<std::uint64_t, std::uint64_t>;  // closed, numeric

inline std::vector<Range> intervalsOf(const IPSubSpace& space) {
  std::vector<Range> result;
  for (const IPSubSpace::IPInterval& interval : items(space.listIntervals())) {
    result.emplace_back(num(interval.firstAddress), num(interval.lastAddress));
  }
  return result;
}

inline std::string str(const std::vector<Range>& ranges) {
  std::string text = "{";
  for (const Range& r : ranges) {
    text += " [" + str(r.first) + " - " + str(r.second) + "]";
  }
  return text + " }";
}

// The set of the closed range [first, last], built as the union of aligned
// blocks (computed here independently of the code under test), each block
// made with the IPPrefix or the IPAddress constructor.
inline IPSubSpace rangeSet(std::uint64_t first, std::uint64_t last) {
  IPSubSpace result;
  std::uint64_t start = first;
  while (start <= last) {
    int k = 0;
    while (k < 32 && start % (1ULL << (k + 1)) == 0 && start + (1ULL << (k + 1)) - 1 <= last) {
      ++k;
    }
    if (k == 0) {
      result += IPSubSpace(addr(start));
    } else {
      result += IPSubSpace(IPPrefix(addr(start), IPNetmask(static_cast<char>(32 - k))));
    }
    start += 1ULL << k;
  }
  return result;
}

inline IPSubSpace setOf(const std::vector<Range>& ranges) {
  IPSubSpace result;
  for (const Range& r : ranges) {
    result += rangeSet(r.first, r.second);
  }
  return result;
}

}  // namespace iptest

// gtest printers (found by argument-dependent lookup in the global namespace).
inline void PrintTo(const IPAddress& address, std::ostream* os) { *os << iptest::str(address); }
inline void PrintTo(const IPNetmask& netmask, std::ostream* os) { *os << iptest::str(netmask); }
inline void PrintTo(const IPPrefix& prefix, std::ostream* os) { *os << iptest::str(prefix); }
inline void PrintTo(const IPSubSpace& space, std::ostream* os) {
  *os << iptest::str(iptest::intervalsOf(space)) << " count " << space.addresses();
}

#endif  // TESTS_IPTOOLS_IP_TEST_UTIL_H_
