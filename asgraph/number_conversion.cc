#include "asgraph/number_conversion.h"

#include <cstdlib>
#include <limits>

namespace {

// White space as the C locale has it.
bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

struct DecimalScan {
  bool negative = false;
  // Set when the magnitude passed the limit handed to scanDecimal.
  bool overflow = false;
  std::uint64_t magnitude = 0;
};

// Reads white space, a sign and digits from begin on; returns whether the
// digits reach end. Like the C library conversions, a text without digits
// counts as consumed only when it is empty.
bool scanDecimal(const char* begin, const char* end, std::uint64_t limit, DecimalScan& scan) {
  const char* p = begin;
  while (p != end && isSpace(*p)) {
    ++p;
  }
  if (p != end && (*p == '+' || *p == '-')) {
    scan.negative = *p == '-';
    ++p;
  }
  const char* digits = p;
  while (p != end && *p >= '0' && *p <= '9') {
    unsigned digit = static_cast<unsigned>(*p - '0');
    if (!scan.overflow) {
      if (scan.magnitude > (limit - digit) / 10) {
        scan.overflow = true;
      } else {
        scan.magnitude = scan.magnitude * 10 + digit;
      }
    }
    ++p;
  }
  if (p == digits) {
    return begin == end;
  }
  return p == end;
}

template <class T>
bool toUnsigned(const char* begin, const char* end, T& value) {
  constexpr std::uint64_t kMax = std::numeric_limits<T>::max();
  DecimalScan scan;
  if (!scanDecimal(begin, end, kMax, scan)) {
    return false;
  }
  if (scan.overflow) {
    value = static_cast<T>(kMax);
  } else if (scan.negative) {
    value = static_cast<T>((0 - scan.magnitude) & kMax);
  } else {
    value = static_cast<T>(scan.magnitude);
  }
  return true;
}

}  // namespace

bool toSigned(const char* begin, const char* end, std::int64_t& value) {
  constexpr std::uint64_t kMax = std::numeric_limits<std::int64_t>::max();
  // The limit is one past the largest positive value so that the smallest
  // negative one is still exact.
  DecimalScan scan;
  if (!scanDecimal(begin, end, kMax + 1, scan)) {
    return false;
  }
  if (scan.negative) {
    value = scan.overflow ? std::numeric_limits<std::int64_t>::min()
                          : static_cast<std::int64_t>(0 - scan.magnitude);
  } else {
    value = scan.overflow || scan.magnitude > kMax ? std::numeric_limits<std::int64_t>::max()
                                                   : static_cast<std::int64_t>(scan.magnitude);
  }
  return true;
}

bool toUnsigned32(const char* begin, const char* end, std::uint32_t& value) {
  return toUnsigned(begin, end, value);
}

bool toUnsigned64(const char* begin, const char* end, std::uint64_t& value) {
  return toUnsigned(begin, end, value);
}

bool toFloat(const char* begin, const char* end, float& value) {
  if (begin == end) {
    value = 0.0f;
    return true;
  }
  char* stop = nullptr;
  float result = std::strtof(begin, &stop);
  if (stop != end) {
    return false;
  }
  value = result;
  return true;
}
