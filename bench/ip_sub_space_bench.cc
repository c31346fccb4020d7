// Timing of the IPv4 address sub-space set operations at routing-table
// scale: random prefixes of lengths 18 to 24 drawn from a fixed seed, as in a
// full table. Prints one line per operation with the wall time.
//
//   ip_sub_space_bench [PREFIXES] [ONE-BY-ONE]   (defaults 20000 and 1: with
//   0 the one-by-one union is built by appending too, for large sizes)

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "iptools/ip_address.h"
#include "iptools/ip_netmask.h"
#include "iptools/ip_prefix.h"
#include "iptools/ip_sub_space.h"
#include "random/splitmix64.h"

namespace {

std::vector<IPPrefix> randomPrefixes(std::size_t count, std::uint64_t seed) {
  std::vector<IPPrefix> prefixes;
  prefixes.reserve(count);
  SplitMix64 random(seed);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint64_t r = random.next();
    const int length = 18 + static_cast<int>((r >> 32) % 7);
    const IPAddress address(static_cast<unsigned char>(r >> 24),
                            static_cast<unsigned char>(r >> 16), static_cast<unsigned char>(r >> 8),
                            static_cast<unsigned char>(r));
    prefixes.emplace_back(address, IPNetmask(static_cast<char>(length)));
  }
  return prefixes;
}

// The union of the prefixes, appended in ascending order of first address.
IPSubSpace sortedUnion(const std::vector<IPPrefix>& prefixes) {
  std::vector<IPSubSpace::IPInterval> sorted;
  sorted.reserve(prefixes.size());
  for (const IPPrefix& prefix : prefixes) {
    sorted.emplace_back(prefix.address(), prefix.address() + (prefix.addresses() - 1));
  }
  std::sort(sorted.begin(), sorted.end(),
            [](const IPSubSpace::IPInterval& a, const IPSubSpace::IPInterval& b) {
              return a.firstAddress < b.firstAddress;
            });
  IPSubSpace result;
  for (const IPSubSpace::IPInterval& interval : sorted) {
    result.appendInterval(interval);
  }
  return result;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t count = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 20000;
  const std::vector<IPPrefix> prefixes = randomPrefixes(count, 1);

  // Union one prefix at a time, in table order: the pattern of a caller that
  // only has operator+=.
  const bool oneByOne = argc > 2 ? std::atoi(argv[2]) != 0 : true;
  auto start = std::chrono::steady_clock::now();
  IPSubSpace accumulated;
  for (const IPPrefix& prefix : prefixes) {
    if (!oneByOne) {
      break;
    }
    accumulated += IPSubSpace(prefix);
  }
  std::printf("%-34s %9zu prefixes %8.3f s  (%llu addresses)\n", "union one by one (+=)", count,
              secondsSince(start), static_cast<unsigned long long>(accumulated.addresses()));

  // The same union from the prefixes sorted by first address, appended.
  start = std::chrono::steady_clock::now();
  const IPSubSpace appended = sortedUnion(prefixes);
  std::printf("%-34s %9zu prefixes %8.3f s  (%llu addresses, %s)\n",
              "union of sorted (appendInterval)", count, secondsSince(start),
              static_cast<unsigned long long>(appended.addresses()),
              !oneByOne                 ? "-"
              : appended == accumulated ? "same set"
                                        : "DIFFERENT SET");
  if (!oneByOne) {
    accumulated = appended;
  }

  // Two large sets: equality, intersection and union of whole sets.
  const std::vector<IPPrefix> others = randomPrefixes(count, 2);
  const IPSubSpace second = sortedUnion(others);
  const IPSubSpace copy(accumulated);
  const int rounds = 200;
  start = std::chrono::steady_clock::now();
  int equal = 0;
  for (int i = 0; i < rounds; ++i) {
    equal += accumulated == copy ? 1 : 0;
  }
  std::printf("%-34s %9d rounds   %8.3f s  (%d equal)\n", "equality of equal sets", rounds,
              secondsSince(start), equal);
  start = std::chrono::steady_clock::now();
  std::uint64_t total = 0;
  for (int i = 0; i < rounds; ++i) {
    total += accumulated.intersect(second).addresses();
  }
  std::printf("%-34s %9d rounds   %8.3f s  (%llu)\n", "intersection of two sets", rounds,
              secondsSince(start), static_cast<unsigned long long>(total));
  start = std::chrono::steady_clock::now();
  total = 0;
  for (int i = 0; i < rounds; ++i) {
    total += accumulated.join(second).addresses();
  }
  std::printf("%-34s %9d rounds   %8.3f s  (%llu)\n", "union of two sets", rounds,
              secondsSince(start), static_cast<unsigned long long>(total));
  return 0;
}
