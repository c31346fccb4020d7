#ifndef GRAPH_SEEDED_HASH_H_
#define GRAPH_SEEDED_HASH_H_

#include <sys/random.h>
#include <time.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "random/splitmix64.h"

// A hash of AS numbers, pairs of them and AS paths that input cannot aim
// at. The keys come from files anyone may write, and a fixed hash lets such a
// file choose numbers that share their slots: every insertion then walks one
// long run and reading turns quadratic. Each SeededHash takes two secret
// 64-bit values, drawn from a per-process stream that starts from the
// system's random source, so the slots a key lands in differ from run to run
// and from table to table, while the results of every lookup stay the same.
//
// The mix multiplies the key, xored with one secret, by the other, and folds
// the 128-bit product's halves together; then it does the same to the result
// with a fixed odd factor. Every bit of the result depends on every bit of the
// key. The second round is there for runs of AS numbers: one round alone maps
// a run to a progression with the secret as its step, and a secret close to
// a simple fraction (a third of 2^64, one in a hundred drawn secrets or so
// comes close enough) packs a run into a few clusters of slots. A byte string (an AS path) is mixed
// eight bytes at a time, each word with the result so far: without the secrets nobody can tell
// which strings share a bucket, whereas the standard library's fixed string hash lets a search
// offline find them.
//
// As the hash of a standard container it takes the place of the identity
// that the standard library uses for integers.
class SeededHash {
 public:
  // Fresh secrets for every instance.
  SeededHash() : SeededHash(drawSeed(), drawSeed()) {}
  SeededHash(std::uint64_t mask, std::uint64_t factor) : mask(mask), factor(factor | 1) {}

  // noexcept, as the standard hash of an integer is: the standard containers
  // then store no hash beside each element, as with the identity this
  // replaces. The string form is not, so that they still store one for a
  // string, as with the standard string hash.
  std::uint64_t operator()(std::uint64_t key) const noexcept {
    return folded(folded(key ^ mask, factor), 0x9E3779B97F4A7C15ull);
  }

  std::uint64_t operator()(const std::string& bytes) const {
    // The length starts the chain, so that trailing zero bytes count.
    std::uint64_t result = (*this)(bytes.size());
    const char* at = bytes.data();
    std::size_t left = bytes.size();
    for (; left >= 8; at += 8, left -= 8) {
      std::uint64_t word;
      std::memcpy(&word, at, 8);
      result = (*this)(word ^ result);
    }
    if (left != 0) {
      std::uint64_t word = 0;
      std::memcpy(&word, at, left);
      result = (*this)(word ^ result);
    }
    return result;
  }

  // The next value of the process's stream, which starts from a value drawn
  // once from the system. The programs run on one thread.
  static std::uint64_t drawSeed() {
    static SplitMix64 stream(processStart());
    return stream.next();
  }

 private:
  static std::uint64_t folded(std::uint64_t a, std::uint64_t b) {
    __extension__ using Wide = unsigned __int128;
    const Wide product = static_cast<Wide>(a) * b;
    return static_cast<std::uint64_t>(product >> 64) ^ static_cast<std::uint64_t>(product);
  }

  static std::uint64_t processStart() {
    std::uint64_t start = 0;
    if (getrandom(&start, sizeof start, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof start)) {
      return start;
    }
    // Without the random source (an old kernel, a seccomp jail), still a
    // value a file written beforehand cannot know: the clock, the process
    // and where the system placed this process's stack.
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    int onStack = 0;
    return static_cast<std::uint64_t>(now.tv_nsec) * 0x2545F4914F6CDD1Dull ^
           static_cast<std::uint64_t>(now.tv_sec) << 32 ^ static_cast<std::uint64_t>(getpid()) ^
           reinterpret_cast<std::uintptr_t>(&onStack);
  }

  std::uint64_t mask;
  std::uint64_t factor;
};

#endif  // GRAPH_SEEDED_HASH_H_
