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

bool quickFloat(const char*& p, float& value) {
  static constexpr float kPowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f,
                                           1e5f, 1e6f, 1e7f, 1e8f, 1e9f};
  constexpr int kMaxDigits = 9;
  const char* q = p;
  std::uint32_t digits = 0;
  int count = 0;
  int fractionDigits = 0;
  bool inFraction = false;
  for (;; ++q) {
    const unsigned digit = static_cast<unsigned char>(*q) - static_cast<unsigned>('0');
    if (digit < 10) {
      if (++count > kMaxDigits) {
        return false;
      }
      digits = digits * 10 + digit;
      fractionDigits += inFraction ? 1 : 0;
    } else if (*q == '.' && !inFraction && count > 0) {
      inFraction = true;
    } else {
      break;
    }
  }
  // "5." reads as 5 for the checked conversion too, but it is left to it.
  if (count == 0 || (inFraction && fractionDigits == 0) || !endsToken(*q) ||
      digits > (std::uint32_t{1} << 24)) {
    return false;
  }
  value = static_cast<float>(digits) / kPowersOfTen[fractionDigits];
  p = q;
  return true;
}
