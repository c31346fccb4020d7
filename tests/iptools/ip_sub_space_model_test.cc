// IPSubSpace against a brute-force model. Random sets (seeded,
// deterministic) are drawn inside a window of 64 addresses, at the low end of
// the address space, across the 127.255.255.255/128.0.0.0 boundary and at the
// high end, and every result is compared with a plain 64-bit bitmap of the
// window.

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "iptools/ip_sub_space.h"
#include "random/splitmix64.h"
#include "tests/iptools/ip_test_util.h"

namespace {

using iptest::addr;
using iptest::intervalsOf;
using iptest::items;
using iptest::kTop;
using iptest::num;
using iptest::Range;
using iptest::str;

constexpr int kWidth = 64;
using Bits = std::uint64_t;  // bit i: address base + i

class Rng {
 public:
  explicit Rng(std::uint64_t seed) : bits(seed) {}
  std::uint64_t next() { return bits.next(); }
  // Uniform-enough integer in [0, bound).
  int below(int bound) { return static_cast<int>(next() % static_cast<std::uint64_t>(bound)); }

 private:
  SplitMix64 bits;
};

int popcount(Bits bits) {
  int count = 0;
  for (; bits != 0; bits &= bits - 1) {
    ++count;
  }
  return count;
}

bool has(Bits bits, int i) { return ((bits >> i) & 1) != 0; }

// An aligned block of the window: 2^log2Size addresses at offset, which is a
// multiple of the size (the window bases are multiples of 32, so the block is
// aligned in the address space too).
struct Piece {
  int offset;
  int log2Size;
};

Bits bitsOf(const Piece& piece) {
  const int size = 1 << piece.log2Size;
  const Bits ones = size == 64 ? ~Bits{0} : ((Bits{1} << size) - 1);
  return ones << piece.offset;
}

class Window {
 public:
  explicit Window(std::uint64_t windowBase) : base(windowBase) {}

  std::uint64_t address(int offset) const { return base + static_cast<std::uint64_t>(offset); }

  // Runs of set bits as closed numeric ranges, ascending.
  std::vector<Range> runs(Bits bits) const {
    std::vector<Range> result;
    int i = 0;
    while (i < kWidth) {
      if (!has(bits, i)) {
        ++i;
        continue;
      }
      int j = i;
      while (j + 1 < kWidth && has(bits, j + 1)) {
        ++j;
      }
      result.emplace_back(address(i), address(j));
      i = j + 1;
    }
    return result;
  }

  // The model's greedy cover: per run, the largest aligned block that fits.
  std::vector<std::string> cover(Bits bits) const {
    std::vector<std::string> result;
    for (const Range& run : runs(bits)) {
      std::uint64_t start = run.first;
      while (start <= run.second) {
        int k = 0;
        while (k < 32 && start % (1ULL << (k + 1)) == 0 &&
               start + (1ULL << (k + 1)) - 1 <= run.second) {
          ++k;
        }
        result.push_back(str(start) + "/" + std::to_string(32 - k));
        start += 1ULL << k;
      }
    }
    return result;
  }

  Piece randomPiece(Rng& rng) const {
    // Half of the pieces are single addresses, the rest blocks of 2 to 32.
    const int log2Size = rng.below(2) == 0 ? 0 : 1 + rng.below(5);
    const int size = 1 << log2Size;
    const int slots = kWidth / size;
    int slot = rng.below(slots);
    // Favour the two ends of the window (and so of the address space).
    const int edge = rng.below(8);
    if (edge == 0) {
      slot = 0;
    } else if (edge == 1) {
      slot = slots - 1;
    }
    return Piece{slot * size, log2Size};
  }

  std::vector<Piece> randomPieces(Rng& rng) const {
    std::vector<Piece> pieces;
    const int count = rng.below(7);  // 0 to 6 pieces, so some sets are empty
    for (int i = 0; i < count; ++i) {
      pieces.push_back(randomPiece(rng));
    }
    return pieces;
  }

  IPSubSpace pieceSet(const Piece& piece) const {
    const IPAddress first = addr(address(piece.offset));
    if (piece.log2Size == 0) {
      return IPSubSpace(first);
    }
    return IPSubSpace(IPPrefix(first, IPNetmask(static_cast<char>(32 - piece.log2Size))));
  }

  // Builds the set with each of the union forms in turn.
  IPSubSpace build(const std::vector<Piece>& pieces, Bits& bits) const {
    IPSubSpace result;
    bits = 0;
    for (size_t i = 0; i < pieces.size(); ++i) {
      const IPSubSpace piece = pieceSet(pieces[i]);
      switch (i % 3) {
        case 0:
          result += piece;
          break;
        case 1:
          result + piece;
          break;
        default:
          result = piece.join(result);
          break;
      }
      bits |= bitsOf(pieces[i]);
    }
    return result;
  }

  // Everything observable about s agrees with the bitmap, and the
  // representation invariants hold.
  void expectMatches(IPSubSpace& s, Bits bits, const char* what) const {
    SCOPED_TRACE(what);
    // Intervals: exactly the runs of the bitmap, hence disjoint, non-adjacent
    // and inside the window; checked on their own as well.
    const std::vector<Range> intervals = intervalsOf(s);
    for (size_t i = 0; i < intervals.size(); ++i) {
      ASSERT_LE(intervals[i].first, intervals[i].second);
      if (i > 0) {
        ASSERT_GT(intervals[i].first, intervals[i - 1].second + 1)
            << "overlapping or adjacent intervals " << str(intervals);
      }
    }
    ASSERT_EQ(intervals, runs(bits)) << "got " << str(intervals) << ", want " << str(runs(bits));
    ASSERT_EQ(s.addresses(), static_cast<std::uint64_t>(popcount(bits)));
    ASSERT_EQ(s.isEmpty(), bits == 0);

    // listAddresses: every address of the bitmap, ascending.
    std::vector<std::uint64_t> listed;
    for (const IPAddress& a : items(s.listAddresses())) {
      listed.push_back(num(a));
    }
    std::vector<std::uint64_t> expectedAddresses;
    for (int i = 0; i < kWidth; ++i) {
      if (has(bits, i)) {
        expectedAddresses.push_back(address(i));
      }
    }
    ASSERT_EQ(listed, expectedAddresses);

    // listPrefixes: an exact cover by aligned, ascending, maximal prefixes.
    const std::vector<IPPrefix> prefixes = items(s.listPrefixes());
    Bits covered = 0;
    std::uint64_t previousEnd = 0;
    std::vector<std::string> names;
    for (size_t i = 0; i < prefixes.size(); ++i) {
      const IPPrefix& p = prefixes[i];
      const std::uint64_t start = num(p.address());
      const std::uint64_t size = p.addresses();
      const std::uint64_t end = start + size - 1;  // numeric, no wrapping
      names.push_back(str(p));
      ASSERT_TRUE(p.address().mask(p.netmask()) == p.address()) << str(p) << " not aligned";
      ASSERT_EQ(start % size, 0u) << str(p) << " not aligned";
      ASSERT_GE(start, base) << str(p);
      ASSERT_LE(end, address(kWidth - 1)) << str(p);
      if (i > 0) {
        ASSERT_GT(start, previousEnd) << str(p) << " not ascending or overlapping";
      }
      previousEnd = end;
      const int from = static_cast<int>(start - base);
      const int to = static_cast<int>(end - base);
      for (int b = from; b <= to; ++b) {
        ASSERT_TRUE(has(bits, b)) << str(p) << " covers " << str(address(b))
                                  << ", which is not in the set";
        ASSERT_FALSE(has(covered, b)) << str(p) << " overlaps an earlier prefix";
        covered |= Bits{1} << b;
      }
      // Maximal: the next larger block is either misaligned or runs past the
      // end of the interval that holds this prefix.
      std::uint64_t runEnd = end;
      while (runEnd < address(kWidth - 1) && has(bits, static_cast<int>(runEnd + 1 - base))) {
        ++runEnd;
      }
      if (size < (1ULL << 32)) {
        const std::uint64_t doubled = size * 2;
        ASSERT_TRUE(start % doubled != 0 || start + doubled - 1 > runEnd)
            << str(p) << " could be a larger prefix";
      }
    }
    ASSERT_EQ(covered, bits) << "the prefixes do not cover the set";
    ASSERT_EQ(names, cover(bits));
  }

  const std::uint64_t base;
};

void expectSame(const IPSubSpace& s, const IPSubSpace& before, const char* what) {
  EXPECT_TRUE(s == before) << what << " changed: " << str(intervalsOf(s)) << ", was "
                           << str(intervalsOf(before));
  EXPECT_EQ(s.addresses(), before.addresses()) << what;
}

// One pair of sets and every operation on it.
void checkPair(const Window& w, const std::vector<Piece>& aPieces,
               const std::vector<Piece>& bPieces) {
  Bits a = 0;
  Bits b = 0;
  IPSubSpace setA = w.build(aPieces, a);
  IPSubSpace setB = w.build(bPieces, b);
  w.expectMatches(setA, a, "A");
  w.expectMatches(setB, b, "B");
  const IPSubSpace aBefore(setA);
  const IPSubSpace bBefore(setB);

  const bool equal = a == b;
  EXPECT_EQ(setA == setB, equal);
  EXPECT_EQ(setB == setA, equal);
  EXPECT_EQ(setA != setB, !equal);
  const bool aSuperset = (a & b) == b && a != b;
  const bool aSubset = (a & b) == a && a != b;
  EXPECT_EQ(setA.includes(setB), aSuperset);
  EXPECT_EQ(setB.isIncluded(setA), aSuperset);
  EXPECT_EQ(setA.isIncluded(setB), aSubset);
  EXPECT_EQ(setB.includes(setA), aSubset);
  EXPECT_FALSE(setA.includes(setA));
  EXPECT_FALSE(setA.isIncluded(setA));

  IPSubSpace joined = setA.join(setB);
  w.expectMatches(joined, a | b, "join");
  IPSubSpace common = setA.intersect(setB);
  w.expectMatches(common, a & b, "intersect");
  expectSame(setA, aBefore, "A after join/intersect");
  expectSame(setB, bBefore, "B after join/intersect");

  {
    IPSubSpace c(aBefore);
    IPSubSpace& r = c + setB;
    EXPECT_EQ(&r, &c);
    w.expectMatches(c, a | b, "operator+");
  }
  {
    IPSubSpace c(aBefore);
    c += setB;
    w.expectMatches(c, a | b, "operator+=");
  }
  {
    IPSubSpace c(aBefore);
    IPSubSpace& r = c * setB;
    EXPECT_EQ(&r, &c);
    w.expectMatches(c, a & b, "operator*");
  }
  {
    IPSubSpace c(aBefore);
    c *= setB;
    w.expectMatches(c, a & b, "operator*=");
  }
  expectSame(setB, bBefore, "B after the operators");

  // The results relate to the operands as sets should.
  EXPECT_EQ(joined.includes(setA), (a | b) != a);
  EXPECT_EQ(common.isIncluded(setA), (a & b) != a);
  EXPECT_TRUE(joined == setB.join(setA));
  EXPECT_TRUE(common == setB.intersect(setA));
}

struct WindowCase {
  const char* name;
  std::uint64_t base;
  std::uint64_t seed;
};

void PrintTo(const WindowCase& c, std::ostream* os) {
  *os << c.name << " window at " << str(c.base);
}

class IPSubSpaceModelTest : public ::testing::TestWithParam<WindowCase> {};

TEST_P(IPSubSpaceModelTest, AgreesWithABitmap) {
  const Window w(GetParam().base);
  Rng rng(GetParam().seed);
  constexpr int kPairs = 400;
  for (int round = 0; round < kPairs; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const std::vector<Piece> aPieces = w.randomPieces(rng);
    std::vector<Piece> bPieces;
    switch (rng.below(4)) {
      case 0:  // independent
        bPieces = w.randomPieces(rng);
        break;
      case 1:  // some of A's pieces: a subset of A, sometimes equal
        for (const Piece& p : aPieces) {
          if (rng.below(3) != 0) {
            bPieces.push_back(p);
          }
        }
        break;
      case 2:  // A's pieces and more: a superset of A, sometimes equal
        bPieces = aPieces;
        for (int extra = rng.below(3); extra > 0; --extra) {
          bPieces.push_back(w.randomPiece(rng));
        }
        break;
      default:  // A's pieces in reverse order: the same set
        bPieces.assign(aPieces.rbegin(), aPieces.rend());
        break;
    }
    checkPair(w, aPieces, bPieces);
    if (::testing::Test::HasFailure()) {
      return;  // one reported round is enough
    }
  }
}

TEST_P(IPSubSpaceModelTest, WholeWindowAndSingleAddresses) {
  const Window w(GetParam().base);
  // Every address alone, and the whole window built from single addresses
  // in an order that merges from both sides.
  IPSubSpace all;
  Bits bits = 0;
  for (int i = 0; i < kWidth; ++i) {
    const int offset = (i * 37) % kWidth;  // 37 is odd: a permutation of 0..63
    IPSubSpace single(addr(w.address(offset)));
    w.expectMatches(single, Bits{1} << offset, "single");
    all += single;
    bits |= Bits{1} << offset;
    w.expectMatches(all, bits, "growing");
  }
  // The middle window is aligned to 32 only, so it is one interval but two
  // prefixes there.
  EXPECT_TRUE(all == iptest::rangeSet(w.base, w.address(kWidth - 1)));
  EXPECT_EQ(all.addresses(), 64u);
}

INSTANTIATE_TEST_SUITE_P(Windows, IPSubSpaceModelTest,
                         ::testing::Values(WindowCase{"Low", 0, 0x1001},
                                           WindowCase{"Middle", 0x7FFFFFE0ULL, 0x2002},
                                           WindowCase{"High", 0x100000000ULL - kWidth, 0x3003}),
                         [](const ::testing::TestParamInfo<WindowCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
