#include "iptools/ip_sub_space.h"

namespace {

// A function rather than a namespace-scope object, so that sub-spaces built
// during static initialisation elsewhere see it constructed.
IPAddress topAddress() { return IPAddress(255, 255, 255, 255); }

using IntervalTree = BST<IPSubSpace::IPInterval, IPAddress>;

// Walks a tree's intervals in ascending order without copying the tree or
// writing its scratch state: the path from the root to the current node
// is kept in a fixed array. An AVL tree of the at most 2^31 disjoint,
// non-adjacent intervals of one set is less than 48 levels high.
class AscendingIntervals {
 public:
  explicit AscendingIntervals(const IntervalTree& tree) { descendLeft(tree.rootNode()); }
  bool atEnd() const { return top == 0; }
  const IPSubSpace::IPInterval& current() const { return path[top - 1]->item; }
  void next() {
    const IntervalTree::tree_node* node = path[--top];
    descendLeft(node->right);
  }

 private:
  void descendLeft(const IntervalTree::tree_node* node) {
    for (; node != nullptr; node = node->left) {
      path[top++] = node;
    }
  }

  const IntervalTree::tree_node* path[64];
  int top = 0;
};

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

List<IPSubSpace::IPInterval> IPSubSpace::listIntervals() const {
  List<IPInterval> sequence;
  for (AscendingIntervals walk(intervals); !walk.atEnd(); walk.next()) {
    sequence.enqueue(walk.current());
  }
  return sequence;
}

void IPSubSpace::addInterval(const IPInterval& interval) {
  intervals.addItem(interval, interval.firstAddress);
  addressCount += interval.lastAddress - interval.firstAddress;
}

bool IPSubSpace::operator==(const IPSubSpace& other) const {
  if (addressCount != other.addressCount || intervals.size() != other.intervals.size()) {
    return false;
  }
  AscendingIntervals theirs(other.intervals);
  for (AscendingIntervals mine(intervals); !mine.atEnd(); mine.next(), theirs.next()) {
    if (mine.current() != theirs.current()) {
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
  AscendingIntervals mine(intervals);
  AscendingIntervals theirs(other.intervals);
  while (!mine.atEnd() && !theirs.atEnd()) {
    const IPInterval& a = mine.current();
    const IPInterval& b = theirs.current();
    const IPAddress low = a.firstAddress > b.firstAddress ? a.firstAddress : b.firstAddress;
    const IPAddress high = a.lastAddress < b.lastAddress ? a.lastAddress : b.lastAddress;
    if (low <= high) {
      result.addInterval(IPInterval(low, high));
    }
    if (a.lastAddress < b.lastAddress) {
      mine.next();
    } else if (b.lastAddress < a.lastAddress) {
      theirs.next();
    } else {
      mine.next();
      theirs.next();
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
  // One named result on every path, so that it is returned without a copy.
  IPSubSpace result;
  if (other.isEmpty() || isEmpty()) {
    result = other.isEmpty() ? *this : other;
    return result;
  }
  AscendingIntervals mine(intervals);
  AscendingIntervals theirs(other.intervals);
  IPInterval pending;
  bool havePending = false;
  while (!mine.atEnd() || !theirs.atEnd()) {
    // Take next the interval with the smaller first address.
    IPInterval x;
    if (!mine.atEnd() &&
        (theirs.atEnd() || !(mine.current().firstAddress > theirs.current().firstAddress))) {
      x = mine.current();
      mine.next();
    } else {
      x = theirs.current();
      theirs.next();
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

bool IPSubSpace::appendInterval(const IPInterval& interval) {
  if (interval.lastAddress < interval.firstAddress) {
    return false;
  }
  const IntervalTree::tree_node* highest = intervals.rootNode();
  if (highest == nullptr) {
    addInterval(interval);
    return true;
  }
  while (highest->right != nullptr) {
    highest = highest->right;
  }
  if (interval.firstAddress < highest->item.firstAddress) {
    return false;
  }
  if (!overlapsOrTouches(highest->item, interval)) {
    addInterval(interval);
    return true;
  }
  if (interval.lastAddress > highest->item.lastAddress) {
    // The highest interval keeps its first address, so its key stays right;
    // only its end and the count move.
    IPInterval* stored = intervals.findItem(highest->key);
    addressCount += (interval.lastAddress - stored->lastAddress) - 1;
    stored->lastAddress = interval.lastAddress;
  }
  return true;
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
