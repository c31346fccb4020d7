#ifndef ASGRAPH_AS_NUMBER_H_
#define ASGRAPH_AS_NUMBER_H_

#include <cstdint>

// An AS number. Ordered and printed as an unsigned number everywhere: the
// numbers above 2147483647 are as valid as the rest.
using ASNumber = std::uint32_t;

// The range a graph file allows. A classic file (ZNG, ZND) holds the
// 16-bit numbers only; a wide file (ZNG32, ZND32) every 32-bit number but 0.
constexpr ASNumber kSmallestASNumber = 1;
constexpr ASNumber kLargestClassicASNumber = 65535;
constexpr ASNumber kLargestWideASNumber = 4294967295u;

// Whether a graph holding `as` has to be written as a wide file.
constexpr bool isWideASNumber(std::uint64_t as) { return as > kLargestClassicASNumber; }

#endif  // ASGRAPH_AS_NUMBER_H_
