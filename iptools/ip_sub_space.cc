#include "iptools/ip_sub_space.h"

namespace {

// A function rather than a namespace-scope object, so that sub-spaces built
// during static initialisation elsewhere see it constructed.
IPAddress topAddress() { return IPAddress(255, 255, 255, 255); }

// Drains the head of a list into item; false when the list was empty.
bool takeNext(List<IPSubSpace::IPInterval>& list, IPSubSpace::IPInterval& item) {
  if (list.isEmpty()) {
    return false;
  }
  item = list.pop();
  return true;
}

// x overlaps p or starts right after p ends, for x.firstAddress >=
// p.firstAddress. Written so that no address after 255.255.255.255 is
// computed: x starts above p's last address only when that last address is
// below 255.255.255.255, and then x's first address is at least 1.
bool overlapsOrTouches(const IPSubSpace::IPInterval& p, const IPSubSpace::IPInterval& x) {
  if (x.firstAddress <= p.lastAddress) {
    return true;
  }
  return x.firstAddress - 1ULL == p.lastAddress;
}

}  // namespace

IPSubSpace::IPSubSpace(const IPSubSpace& other)
    : addressCount(other.addressCount), intervals(other.intervals) {}

IPSubSpace::IPSubSpace(const IPPrefix& prefix) {
  const IPAddress first = prefix.address();
  std::uint64_t size = prefix.addresses();
  // A prefix never runs past 255.255.255.255 (aligned prefixes cannot, and
  // classful ones built from an address alone stop below it); cut it there
  // anyway rather than wrap.
  const std::uint64_t room = topAddress() - first;
  if (size > room) {
    size = room;
  }
  addInterval(IPInterval(first, first + (size - 1)));
}

IPSubSpace::IPSubSpace(const IPAddress& address) { addInterval(IPInterval(address, address)); }

IPSubSpace& IPSubSpace::operator=(const IPSubSpace& other) {
  intervals = other.intervals;
  addressCount = other.addressCount;
  return *this;
}

List<IPSubSpace::IPInterval> IPSubSpace::ascending(const BST<IPInterval, IPAddress>& tree) {
  BST<IPInterval, IPAddress> copy(tree);
  return copy.listItems();
}

List<IPSubSpace::IPInterval> IPSubSpace::listIntervals() const { return ascending(intervals); }

void IPSubSpace::addInterval(const IPInterval& interval) {
  intervals.addItem(interval, interval.firstAddress);
  addressCount += interval.lastAddress - interval.firstAddress;
}

bool IPSubSpace::operator==(const IPSubSpace& other) const {
  if (addressCount != other.addressCount || intervals.size() != other.intervals.size()) {
    return false;
  }
  List<IPInterval> mine = ascending(intervals);
  List<IPInterval> theirs = ascending(other.intervals);
  if (mine.len() != theirs.len()) {
    return false;
  }
  while (!mine.isEmpty()) {
    if (mine.pop() != theirs.pop()) {
      return false;
    }
  }
  return true;
}

bool IPSubSpace::includes(const IPSubSpace& other) const {
  return addressCount > other.addressCount && intersect(other) == other;
}

bool IPSubSpace::isIncluded(const IPSubSpace& other) const {
  return other.addressCount > addressCount && intersect(other) == *this;
}

IPSubSpace IPSubSpace::intersect(const IPSubSpace& other) const {
  IPSubSpace result;
  if (isEmpty() || other.isEmpty()) {
    return result;
  }
  List<IPInterval> mine = ascending(intervals);
  List<IPInterval> theirs = ascending(other.intervals);
  IPInterval a;
  IPInterval b;
  bool haveA = takeNext(mine, a);
  bool haveB = takeNext(theirs, b);
  while (haveA && haveB) {
    const IPAddress low = a.firstAddress > b.firstAddress ? a.firstAddress : b.firstAddress;
    const IPAddress high = a.lastAddress < b.lastAddress ? a.lastAddress : b.lastAddress;
    if (low <= high) {
      result.addInterval(IPInterval(low, high));
    }
    if (a.lastAddress < b.lastAddress) {
      haveA = takeNext(mine, a);
    } else if (b.lastAddress < a.lastAddress) {
      haveB = takeNext(theirs, b);
    } else {
      haveA = takeNext(mine, a);
      haveB = takeNext(theirs, b);
    }
  }
  return result;
}

IPSubSpace& IPSubSpace::operator*(const IPSubSpace& other) {
  // intersect builds a new set first, so other may be this sub-space.
  *this = intersect(other);
  return *this;
}

IPSubSpace IPSubSpace::join(const IPSubSpace& other) const {
  if (other.isEmpty()) {
    return *this;
  }
  if (isEmpty()) {
    return other;
  }
  IPSubSpace result;
  List<IPInterval> mine = ascending(intervals);
  List<IPInterval> theirs = ascending(other.intervals);
  IPInterval a;
  IPInterval b;
  bool haveA = takeNext(mine, a);
  bool haveB = takeNext(theirs, b);
  IPInterval pending;
  bool havePending = false;
  while (haveA || haveB) {
    // Take next the interval with the smaller first address.
    IPInterval x;
    if (haveA && (!haveB || !(a.firstAddress > b.firstAddress))) {
      x = a;
      haveA = takeNext(mine, a);
    } else {
      x = b;
      haveB = takeNext(theirs, b);
    }
    if (!havePending) {
      pending = x;
      havePending = true;
    } else if (overlapsOrTouches(pending, x)) {
      if (x.lastAddress > pending.lastAddress) {
        pending.lastAddress = x.lastAddress;
      }
    } else {
      result.addInterval(pending);
      pending = x;
    }
  }
  result.addInterval(pending);
  return result;
}

IPSubSpace& IPSubSpace::operator+(const IPSubSpace& other) {
  // join builds a new set first, so other may be this sub-space.
  *this = join(other);
  return *this;
}

List<IPAddress>& IPSubSpace::listAddresses() {
  addressList = List<IPAddress>();
  List<IPInterval> sequence = intervals.listItems();
  while (!sequence.isEmpty()) {
    const IPInterval interval = sequence.pop();
    // Stop at the interval's last address, so the walk never steps past
    // 255.255.255.255.
    IPAddress current = interval.firstAddress;
    for (;;) {
      addressList.enqueue(current);
      if (current == interval.lastAddress) {
        break;
      }
      current += 1;
    }
  }
  return addressList;
}

List<IPPrefix>& IPSubSpace::listPrefixes() {
  prefixList = List<IPPrefix>();
  List<IPInterval> sequence = intervals.listItems();
  while (!sequence.isEmpty()) {
    const IPInterval interval = sequence.pop();
    IPAddress start = interval.firstAddress;
    std::uint64_t remaining = interval.lastAddress - interval.firstAddress;
    while (remaining > 0) {
      // The largest k such that start is aligned to 2^k and 2^k addresses
      // remain: try k = 1, 2, ... and keep the last one that passed.
      int k = 0;
      while (k < 32) {
        const int next = k + 1;
        const IPNetmask netmask(static_cast<char>(32 - next));
        if (!(start.mask(netmask) == start) || (1ULL << next) > remaining) {
          break;
        }
        k = next;
      }
      prefixList.enqueue(IPPrefix(start, IPNetmask(static_cast<char>(32 - k))));
      remaining -= 1ULL << k;
      if (remaining > 0) {
        // Still inside the interval, so no wrap past 255.255.255.255.
        start += 1ULL << k;
      }
    }
  }
  return prefixList;
}
