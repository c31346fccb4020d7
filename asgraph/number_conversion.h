#ifndef ASGRAPH_NUMBER_CONVERSION_H_
#define ASGRAPH_NUMBER_CONVERSION_H_

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

#endif  // ASGRAPH_NUMBER_CONVERSION_H_
