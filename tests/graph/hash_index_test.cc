#include "graph/hash_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <set>
#include <vector>

namespace {

constexpr std::uint64_t kFibonacci = 0x9E3779B97F4A7C15ull;

// Distinct AS numbers above 65535, drawn at random and kept when wanted(key).
template <class Wanted>
std::vector<std::uint32_t> drawnKeys(std::size_t count, Wanted wanted) {
  std::mt19937_64 rng(2024);
  std::set<std::uint32_t> seen;
  std::vector<std::uint32_t> keys;
  while (keys.size() < count) {
    const auto key = static_cast<std::uint32_t>(rng());
    if (key > 65535 && wanted(key) && seen.insert(key).second) {
      keys.push_back(key);
    }
  }
  return keys;
}

// Keys that the fixed hash the index replaced (key * kFibonacci, top bits as
// the slot) sends into the first quarter of every table size: more keys than
// slots there, so under that hash they all share one run.
std::vector<std::uint32_t> keysAimedAtFixedHash(std::size_t count) {
  return drawnKeys(count, [](std::uint32_t key) { return (key * kFibonacci) >> 62 == 0; });
}

std::vector<std::uint32_t> randomKeys(std::size_t count) {
  return drawnKeys(count, [](std::uint32_t) { return true; });
}

std::vector<std::uint32_t> ascendingRun(std::size_t count) {
  std::vector<std::uint32_t> keys(count);
  for (std::size_t i = 0; i < count; ++i) {
    keys[i] = 4200000000u + static_cast<std::uint32_t>(i);
  }
  return keys;
}

// The longest walk the replaced table (linear probing, at most half full,
// doubling from 1024 slots, fixed hash) takes for these keys: shows that the
// aimed keys do attack a fixed hash, so that their short walks below mean
// something.
std::size_t longestWalkUnderFixedHash(const std::vector<std::uint32_t>& keys) {
  std::vector<std::uint32_t> slots;
  unsigned bits = 9;
  std::size_t longest = 0;
  auto place = [&](std::uint32_t key) {
    std::size_t walk = 1;
    std::size_t i = (key * kFibonacci) >> (64 - bits);
    for (; slots[i] != 0; i = (i + 1) & (slots.size() - 1)) {
      ++walk;
    }
    slots[i] = key;
    longest = std::max(longest, walk);
  };
  for (std::size_t count = 0; count < keys.size(); ++count) {
    if (2 * (count + 1) > slots.size()) {
      slots.assign(std::size_t{1} << ++bits, 0);
      longest = 0;
      std::for_each(keys.begin(), keys.begin() + static_cast<std::ptrdiff_t>(count), place);
    }
    place(keys[count]);
  }
  return longest;
}

// Fills an index with keys, each under its own value, and checks that it
// finds exactly those: every key its value, keys never added nothing.
template <class Hash>
void fillAndCheck(HashIndex<std::uint32_t, const std::uint32_t*, Hash>& index,
                  const std::vector<std::uint32_t>& keys) {
  for (const std::uint32_t& key : keys) {
    ASSERT_EQ(index.find(key), nullptr) << key;
    index.add(key, &key);
  }
  ASSERT_EQ(index.size(), keys.size());
  for (const std::uint32_t& key : keys) {
    ASSERT_EQ(index.find(key), &key) << key;
  }
  const std::set<std::uint32_t> added(keys.begin(), keys.end());
  std::mt19937 rng(5);
  for (int i = 0; i < 20000; ++i) {
    const auto absent = static_cast<std::uint32_t>(rng());
    if (added.count(absent) == 0) {
      ASSERT_EQ(index.find(absent), nullptr) << absent;
    }
  }
}

TEST(HashIndexTest, AimedKeysAttackAFixedHash) {
  const std::vector<std::uint32_t> aimed = keysAimedAtFixedHash(8000);
  EXPECT_GT(longestWalkUnderFixedHash(aimed), 2000u);
  EXPECT_LT(longestWalkUnderFixedHash(randomKeys(8000)), 60u);
}

// Whatever the keys, no key walks a long run: the walk stays that of random
// keys (about 20 slots at the most for 160,000 keys) and no table had to be
// made again.
TEST(HashIndexTest, NoKeySetDrivesLongWalks) {
  const struct {
    const char* name;
    std::vector<std::uint32_t> keys;
  } cases[] = {
      {"aimed at the fixed hash", keysAimedAtFixedHash(160000)},
      {"random", randomKeys(160000)},
      {"one ascending run", ascendingRun(160000)},
      {"a few", randomKeys(7)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Arena arena;
    HashIndex<std::uint32_t, const std::uint32_t*> index(&arena);
    fillAndCheck(index, c.keys);
    EXPECT_LE(index.stats().longestProbe, 40u);
    EXPECT_LE(index.stats().longestProbe, index.probeLimit());
    EXPECT_EQ(index.stats().reseeds, 0u);
  }
}

// A secret close to a third of 2^64 sends a run of keys, by one folded
// multiplication alone, into three clusters of slots; the hash must still
// spread the run, and runs with other steps.
struct SecretNearAThird {
  std::uint64_t operator()(std::uint64_t key) const {
    return SeededHash(0, 0x5555555555555555ull ^ 0x1234566)(key);
  }
};

TEST(HashIndexTest, AnUnluckySecretStillSpreadsRuns) {
  for (const std::uint32_t step : {1u, 2u, 3u, 1024u}) {
    SCOPED_TRACE(step);
    std::vector<std::uint32_t> keys(40000);
    for (std::size_t i = 0; i < keys.size(); ++i) {
      keys[i] = 65536 + step * static_cast<std::uint32_t>(i);
    }
    Arena arena;
    HashIndex<std::uint32_t, const std::uint32_t*, SecretNearAThird> index(&arena);
    fillAndCheck(index, keys);
    EXPECT_LE(index.stats().longestProbe, 40u);
    EXPECT_EQ(index.stats().reseeds, 0u);
  }
}

// Hashes that fail on purpose: the index must still find every key, and the
// rebuilds a bad hash causes must stop.
struct FirstDrawBroken {
  static int& draws() {
    static int count = 0;
    return count;
  }
  FirstDrawBroken() : draw(draws()++) {}
  std::uint64_t operator()(std::uint64_t key) const {
    const auto salt = static_cast<std::uint64_t>(draw);
    return draw == 1 ? 0 : SeededHash(0x5851F42D4C957F2Dull * salt, kFibonacci + 2 * salt)(key);
  }
  int draw;
};

struct AlwaysBroken {
  std::uint64_t operator()(std::uint64_t) const { return 0; }
};

TEST(HashIndexTest, ALongRunMakesANewTableAndRebuildsStop) {
  const std::vector<std::uint32_t> keys = randomKeys(3000);
  {
    // Draw 0 is the member's, draw 1 the first table's.
    FirstDrawBroken::draws() = 0;
    Arena arena;
    HashIndex<std::uint32_t, const std::uint32_t*, FirstDrawBroken> index(&arena);
    fillAndCheck(index, keys);
    EXPECT_EQ(index.stats().reseeds, 1u);
    EXPECT_LE(index.stats().longestProbe, index.probeLimit());
  }
  {
    Arena arena;
    HashIndex<std::uint32_t, const std::uint32_t*, AlwaysBroken> index(&arena);
    fillAndCheck(index, keys);
    EXPECT_GT(index.stats().reseeds, 0u);
    EXPECT_LE(index.stats().reseeds, 12u);
    index.clear();
    EXPECT_EQ(index.find(keys[0]), nullptr);
    fillAndCheck(index, std::vector<std::uint32_t>(keys.begin(), keys.begin() + 100));
  }
}

}  // namespace
