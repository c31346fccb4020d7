#ifndef ASGRAPH_NUMBER_CONVERSION_H_
#define ASGRAPH_NUMBER_CONVERSION_H_

#include <cstddef>
#include <cstdint>

// Checked decimal conversions of the text [begin, end), as the graph file
// reader applies them to whole lines and to blank-separated tokens. Each
// accepts leading white space and one sign, reads base 10 only, and succeeds
// only when it consumes the text to its end; an empty text therefore reads as
// 0. On failure the output is left alone.

// Saturates at the limits of the 64-bit signed range.
bool toSigned(const char* begin, const char* end, std::int64_t& value);

// A negative number gives its value modulo 2^32 (or 2^64); a magnitude beyond
// the width gives the largest value of the width, whatever the sign.
bool toUnsigned32(const char* begin, const char* end, std::uint32_t& value);
bool toUnsigned64(const char* begin, const char* end, std::uint64_t& value);

// Decimal floating-point number with an optional exponent, rounded once to
// single precision. *end must not be able to continue a number (a blank or a
// NUL), because the conversion itself reads up to the first character that
// does not belong to the number.
bool toFloat(const char* begin, const char* end, float& value);

// Quick forms of the conversions, for a parser that walks a line once and
// converts its tokens in place. Each reads a token of the common shape at p:
// on success the value is the one the checked conversion gives for the same
// token, and p moves to the character after the token. false (p unchanged)
// only says that the token is not of that shape; the checked conversion
// decides then. A token ends at a blank or where the line's text ends.

// The quick forms run for every token of millions of lines, inside a parser
// that compilers would otherwise leave as a chain of calls.
#if defined(__GNUC__)
#define ASGRAPH_QUICK_INLINE __attribute__((always_inline)) inline
#else
#define ASGRAPH_QUICK_INLINE inline
#endif

// A line's text ends at its first NUL, carriage return or line feed.
ASGRAPH_QUICK_INLINE bool endsLineText(char c) { return c == '\0' || c == '\r' || c == '\n'; }
ASGRAPH_QUICK_INLINE bool endsToken(char c) { return c == ' ' || endsLineText(c); }

// One to kMaxDigits decimal digits and nothing else. The caller picks
// kMaxDigits so that the value cannot reach the limit of the checked
// conversion (9 digits for 32 bits, 19 for 64).
template <std::ptrdiff_t kMaxDigits>
ASGRAPH_QUICK_INLINE bool quickDigits(const char*& p, std::uint64_t& value) {
  const char* q = p;
  std::uint64_t result = 0;
  unsigned digit;
  while ((digit = static_cast<unsigned char>(*q) - static_cast<unsigned>('0')) < 10) {
    result = result * 10 + digit;  // wraps harmlessly past kMaxDigits, which is refused below
    ++q;
  }
  if (q == p || q - p > kMaxDigits || !endsToken(*q)) {
    return false;
  }
  value = result;
  p = q;
  return true;
}

// Digits, optionally a point and more digits, at most 9 digits in all and a
// value of the digits no greater than 2^24: such a number and the power of
// ten it is divided by are exact in single precision, so the one rounding of
// the division gives what the checked conversion's rounding gives.
bool quickFloat(const char*& p, float& value);

#endif  // ASGRAPH_NUMBER_CONVERSION_H_
