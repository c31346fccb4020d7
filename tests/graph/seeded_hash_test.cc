#include "graph/seeded_hash.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

// The most keys one bucket holds when a standard container with this hash
// takes all of them, one by one as the routing-table builder does.
template <class Key, class Hash>
std::size_t fullestBucket(const std::vector<Key>& keys) {
  std::unordered_set<Key, Hash> set;
  for (const Key& key : keys) {
    set.insert(key);
  }
  std::size_t fullest = 0;
  for (std::size_t b = 0; b < set.bucket_count(); ++b) {
    fullest = std::max(fullest, set.bucket_size(b));
  }
  return fullest;
}

// The bucket count a standard container ends with for this many keys.
template <class Key>
std::size_t finalBuckets(std::size_t count) {
  std::unordered_set<Key> set;
  for (std::size_t i = 0; i < count; ++i) {
    if constexpr (std::is_integral<Key>::value) {
      set.insert(static_cast<Key>(i));
    } else {
      set.insert(std::to_string(i));
    }
  }
  return set.bucket_count();
}

// Keys a table's author can aim at the standard library's hash: AS pairs
// (smaller * 2^32 + larger, as the routing-table builder keys them) and AS
// numbers that are equal modulo the final bucket count, which is the
// identity hash's bucket, and packed AS paths whose standard string hash is,
// found by trying paths one after the other. Under SeededHash each set spreads
// as random keys do.
TEST(SeededHashTest, KeysAimedAtTheStandardHashSpreadOut) {
  constexpr std::size_t kCount = 4000;
  std::vector<std::uint64_t> pairs;
  const std::size_t pairBuckets = finalBuckets<std::uint64_t>(kCount);
  for (std::uint64_t from = 10; pairs.size() < kCount; ++from) {
    const std::uint64_t start = (pairBuckets - (from << 32) % pairBuckets) % pairBuckets;
    for (std::uint64_t to = start + pairBuckets; to < (1ull << 32) && pairs.size() < kCount;
         to += pairBuckets) {
      pairs.push_back(from << 32 | to);
    }
  }
  std::vector<std::uint32_t> numbers;
  const std::size_t numberBuckets = finalBuckets<std::uint32_t>(kCount);
  for (std::uint64_t as = 65536; numbers.size() < kCount; as += numberBuckets) {
    numbers.push_back(static_cast<std::uint32_t>(as));
  }
  std::vector<std::string> paths;
  constexpr std::size_t kPaths = 1000;
  const std::size_t pathBuckets = finalBuckets<std::string>(kPaths);
  for (std::uint32_t last = 65536; paths.size() < kPaths; ++last) {
    const char packed[8] = {0,
                            0,
                            0,
                            10,
                            static_cast<char>(last >> 24),
                            static_cast<char>(last >> 16),
                            static_cast<char>(last >> 8),
                            static_cast<char>(last)};
    std::string path(packed, sizeof packed);
    if (std::hash<std::string>()(path) % pathBuckets == 0) {
      paths.push_back(path);
    }
  }

  const std::size_t standard[] = {fullestBucket<std::uint64_t, std::hash<std::uint64_t>>(pairs),
                                  fullestBucket<std::uint32_t, std::hash<std::uint32_t>>(numbers),
                                  fullestBucket<std::string, std::hash<std::string>>(paths)};
  const std::size_t seeded[] = {fullestBucket<std::uint64_t, SeededHash>(pairs),
                                fullestBucket<std::uint32_t, SeededHash>(numbers),
                                fullestBucket<std::string, SeededHash>(paths)};
  // The keys do attack the standard hash, so that the figures below mean something.
  EXPECT_EQ(standard[0], kCount);
  EXPECT_EQ(standard[1], kCount);
  EXPECT_EQ(standard[2], kPaths);
  for (const std::size_t fullest : seeded) {
    EXPECT_LE(fullest, 12u);
  }
}

// Strings: equal strings hash alike, and a trailing zero byte or one more
// word makes another string.
TEST(SeededHashTest, StringsHashByEveryByteAndTheirLength) {
  const SeededHash hash;
  const std::string base("\0\0\0\x0a\0\x01\0\0", 8);
  EXPECT_EQ(hash(base), hash(std::string(base)));
  const std::string variants[] = {base + std::string(1, '\0'), base + base, base.substr(0, 7),
                                  std::string(), std::string("\0\0\0\x0a\0\x01\0\x01", 8)};
  for (const std::string& other : variants) {
    EXPECT_NE(hash(base), hash(other)) << other.size();
  }
}

// Two hashes draw their own secrets: the same keys land elsewhere.
TEST(SeededHashTest, EachHashDrawsItsOwnSecrets) {
  const SeededHash a;
  const SeededHash b;
  int same = 0;
  for (std::uint64_t key = 65536; key < 65536 + 64; ++key) {
    same += a(key) == b(key) ? 1 : 0;
  }
  EXPECT_EQ(same, 0);
  EXPECT_NE(SeededHash::drawSeed(), SeededHash::drawSeed());
}

}  // namespace
