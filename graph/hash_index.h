#ifndef GRAPH_HASH_INDEX_H_
#define GRAPH_HASH_INDEX_H_

#include <cstddef>
#include <cstdint>

#include "graph/arena.h"
#include "graph/seeded_hash.h"

// Finds a value (a non-null pointer) under an integer key: open addressing
// with linear probing in a table kept at most half full, its slots taken
// from an arena. It only finds; nothing walks it in slot order, so where a
// key lands never shows in any output.
//
// The worst case is bounded two ways. The hash is seeded afresh for every
// table (see SeededHash), so keys cannot be chosen to share slots. And an
// insertion that still has to walk more than probeLimit() slots, which
// random keys practically never do, rebuilds the table with new secrets; a
// few rebuilds in a row that cannot shorten the runs double the table
// instead, a bounded number of times.
//
// Hash: a default-constructed one must be a new draw (SeededHash is).
template <class K, class V, class Hash = SeededHash>
class HashIndex {
 public:
  // What the table has done so far: for tests and benchmarks.
  struct Stats {
    // Slots that finding the worst placed key walks (1: its own slot).
    std::size_t longestProbe = 0;
    // Tables made after the first with new secrets because of a long run.
    std::size_t reseeds = 0;
  };

  explicit HashIndex(Arena* arena) : arena(arena) {}
  HashIndex(const HashIndex&) = delete;
  HashIndex& operator=(const HashIndex&) = delete;

  // The value under key, or null.
  V find(const K& key) const {
    if (slots == nullptr) {
      return nullptr;
    }
    const std::size_t mask = capacity - 1;
    for (std::size_t i = start(key);; i = (i + 1) & mask) {
      const Slot& slot = slots[i];
      if (slot.value == nullptr || slot.key == key) {
        return slot.value;
      }
    }
  }

  // Stores value (not null) under key, which must not be in the table yet.
  void add(const K& key, V value) {
    if (2 * (count + 1) > capacity) {
      rebuild(capacity == 0 ? kFirstCapacity : 2 * capacity);
    }
    if (!place(Slot{value, key})) {
      rebuild(capacity);
    }
    ++count;
  }

  std::size_t size() const { return count; }
  Stats stats() const { return statistics; }
  // Longer walks than this make a new table. Random keys in a half full
  // table walk at most about 40 slots among 2^19 and 50 among 2^22, a few
  // more per doubling: the limit (77 and 86 there) leaves a margin that they
  // practically never pass.
  std::size_t probeLimit() const { return 3 * (64 - shift) + 20; }

  // Forgets every key; the memory stays with the arena, whose owner frees it.
  void clear() {
    slots = nullptr;
    capacity = 0;
    count = 0;
    shift = 64;
    statistics = Stats();
    doublings = 0;
    guarding = true;
  }

 private:
  static constexpr std::size_t kFirstCapacity = 1024;
  // Rebuilds with new secrets at one size before the table doubles instead,
  // and how many doublings beyond the load's need are allowed in all: with a
  // hash that behaves at all, neither is ever reached.
  static constexpr int kReseedsPerSize = 3;
  static constexpr int kExtraDoublings = 3;

  struct Slot {
    V value;
    K key;
  };

  std::size_t start(const K& key) const {
    return static_cast<std::size_t>(hash(static_cast<std::uint64_t>(key)) >> shift);
  }

  // false: the key had to walk more than probeLimit() slots; it is stored
  // all the same.
  bool place(const Slot& entry) {
    const std::size_t mask = capacity - 1;
    std::size_t i = start(entry.key);
    std::size_t probe = 1;
    for (; slots[i].value != nullptr; i = (i + 1) & mask) {
      ++probe;
    }
    slots[i] = entry;
    if (probe > statistics.longestProbe) {
      statistics.longestProbe = probe;
    }
    return probe <= probeLimit() || !guarding;
  }

  // Moves every key into a new table of at least the given size, with new
  // secrets, until no key walks a long run or the limits are reached. The old
  // tables stay in the arena until it goes, which at most doubles the memory
  // the tables take while the table grows.
  void rebuild(std::size_t wanted) {
    const Slot* old = slots;
    const std::size_t oldCapacity = capacity;
    int reseeds = 0;
    for (;;) {
      if (wanted == capacity) {
        ++statistics.reseeds;
        if (++reseeds > kReseedsPerSize) {
          reseeds = 0;
          wanted *= 2;
          guarding = ++doublings < kExtraDoublings;
        }
      }
      allocate(wanted);
      bool shortRuns = true;
      for (std::size_t i = 0; i < oldCapacity && shortRuns; ++i) {
        if (old[i].value != nullptr) {
          shortRuns = place(old[i]);
        }
      }
      if (shortRuns) {
        return;
      }
    }
  }

  void allocate(std::size_t wanted) {
    slots = static_cast<Slot*>(arena->allocate(wanted * sizeof(Slot), alignof(Slot)));
    for (std::size_t i = 0; i < wanted; ++i) {
      slots[i] = Slot{nullptr, K{}};
    }
    capacity = wanted;
    shift = 64;
    for (std::size_t c = wanted; c > 1; c >>= 1) {
      --shift;
    }
    hash = Hash();
    statistics.longestProbe = 0;
  }

  Arena* arena;
  Slot* slots = nullptr;
  std::size_t capacity = 0;
  std::size_t count = 0;
  unsigned shift = 64;
  Hash hash;
  Stats statistics;
  int doublings = 0;
  bool guarding = true;
};

#endif  // GRAPH_HASH_INDEX_H_
