#ifndef TEXT_COPIED_STRING_H_
#define TEXT_COPIED_STRING_H_

#include <cstddef>

// A copy of text[0, length) and a terminating NUL in a new[] array that the
// caller owns and releases with delete[]: the form in which the graph's name
// lists and the options record keep their strings.
char* copyString(const char* text, std::size_t length);
// The same for a NUL-terminated string.
char* copyString(const char* text);

#endif  // TEXT_COPIED_STRING_H_
