#ifndef ASGRAPH_ESCAPED_TEXT_H_
#define ASGRAPH_ESCAPED_TEXT_H_

#include <cstddef>

// Input text that a message quotes may reach a terminal: every byte below
// 0x20 other than TAB, and 0x7F, is written as \xHH (lower-case hex), so that
// no escape sequence of a file runs on the user's screen. Printable bytes and
// bytes from 0x80 up (UTF-8) are copied as they are.
//
// Writes the escaped form of text[0, length) at out, which must have room for
// four bytes per input byte, and returns the end of what it wrote.
char* writeEscaped(const char* text, std::size_t length, char* out);

#endif  // ASGRAPH_ESCAPED_TEXT_H_
