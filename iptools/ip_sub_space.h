#ifndef IPTOOLS_IP_SUB_SPACE_H_
#define IPTOOLS_IP_SUB_SPACE_H_

#include <cstdint>

#include "graph/bst.h"
#include "graph/list.h"
#include "iptools/ip_address.h"
#include "iptools/ip_prefix.h"

// An arbitrary set of IPv4 addresses, held as disjoint, non-adjacent address
// intervals in a search tree keyed by their first address, so one set has
// exactly one representation. Its value (for copying, assignment and
// comparison) is the intervals and the address count; the address and prefix
// lists are only result buffers, refilled by listAddresses and listPrefixes.
//
// No operation computes an address before 0.0.0.0 or after 255.255.255.255 by
// wrapping around.
class IPSubSpace {
 public:
  // A closed address range; firstAddress is never above lastAddress.
  struct IPInterval {
    IPInterval() = default;
    IPInterval(const IPAddress& first, const IPAddress& last)
        : firstAddress(first), lastAddress(last) {}

    bool operator==(const IPInterval& other) const {
      return firstAddress == other.firstAddress && lastAddress == other.lastAddress;
    }
    bool operator!=(const IPInterval& other) const { return !(*this == other); }

    IPAddress firstAddress;
    IPAddress lastAddress;
  };

  // The empty set.
  IPSubSpace() = default;
  // Copies the set; the result lists start empty.
  IPSubSpace(const IPSubSpace& other);
  // Every address of the prefix: address() to address() + (addresses() - 1).
  explicit IPSubSpace(const IPPrefix& prefix);
  // The single address.
  explicit IPSubSpace(const IPAddress& address);
  ~IPSubSpace() = default;
  // Copies the set; this sub-space's result lists stay as they were.
  IPSubSpace& operator=(const IPSubSpace& other);

  // Same addresses (same count and same interval sequence).
  bool operator==(const IPSubSpace& other) const;
  bool operator!=(const IPSubSpace& other) const { return !(*this == other); }
  // This set is a proper superset of the other (false for equal sets).
  bool includes(const IPSubSpace& other) const;
  // This set is a proper subset of the other (false for equal sets).
  bool isIncluded(const IPSubSpace& other) const;
  bool isEmpty() const { return intervals.isEmpty(); }

  // The addresses in both sets; both operands stay unchanged.
  IPSubSpace intersect(const IPSubSpace& other) const;
  // Replace this set by its intersection with the other and return it.
  IPSubSpace& operator*(const IPSubSpace& other);
  IPSubSpace& operator*=(const IPSubSpace& other) { return *this * other; }
  // The addresses in either set; both operands stay unchanged.
  IPSubSpace join(const IPSubSpace& other) const;
  // Replace this set by its union with the other and return it.
  IPSubSpace& operator+(const IPSubSpace& other);
  IPSubSpace& operator+=(const IPSubSpace& other) { return *this + other; }
  // Adds the interval's addresses to the set in logarithmic time, for an
  // interval that starts no earlier than the set's highest interval (so a
  // union of intervals sorted by first address is built in n log n). false,
  // with the set unchanged, for an interval that starts earlier or whose last
  // address is below its first.
  bool appendInterval(const IPInterval& interval);

  // The number of addresses, 0 to 4294967296.
  std::uint64_t addresses() const { return addressCount; }
  // Every address of the set in ascending order, one element per address.
  // The list belongs to the sub-space and stays valid, and unchanged, until
  // the next listAddresses call.
  List<IPAddress>& listAddresses();
  // The exact cover of the set by aligned prefixes in ascending order, each
  // as large as its alignment and the rest of its interval allow. The list
  // belongs to the sub-space and stays valid, and unchanged, until the next
  // listPrefixes call.
  List<IPPrefix>& listPrefixes();

  // The intervals in ascending order, as a list of the caller's own
  // (inspection; the result buffers are not touched).
  List<IPInterval> listIntervals() const;

 private:
  // Read-only access to the result buffers for the unit tests.
  friend class IPToolsTestAccess;

  // Adds an interval to the tree under its first address and its size to
  // the count; callers add disjoint, non-adjacent intervals only.
  void addInterval(const IPInterval& interval);

  std::uint64_t addressCount = 0;
  BST<IPInterval, IPAddress> intervals;
  List<IPAddress> addressList;
  List<IPPrefix> prefixList;
};

#endif  // IPTOOLS_IP_SUB_SPACE_H_
