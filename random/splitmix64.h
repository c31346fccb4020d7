#ifndef RANDOM_SPLITMIX64_H_
#define RANDOM_SPLITMIX64_H_

#include <cstdint>

// splitmix64: a tiny, fast generator that gives the same sequence for a seed
// on every platform and standard library, unlike the standard distributions.
// Used wherever inputs are drawn from a fixed seed (benchmark snapshots,
// model tests), so that a seed names the same input everywhere.
class SplitMix64 {
 public:
  explicit SplitMix64(std::uint64_t seed) : state(seed) {}

  std::uint64_t next() {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

 private:
  std::uint64_t state;
};

#endif  // RANDOM_SPLITMIX64_H_
