#ifndef TEXT_ESCAPED_TEXT_H_
#define TEXT_ESCAPED_TEXT_H_

#include <cstddef>
#include <string>

// Text that a message quotes (a line of an input file, a file name, an
// argument) may reach a terminal: every byte below 0x20 other than TAB, and
// 0x7F, is written as \xHH (lower-case hex), so that no escape sequence of a
// file or a command line runs on the user's screen. Printable bytes and bytes
// from 0x80 up (UTF-8) are copied as they are.
//
// Writes the escaped form of text[0, length) at out, which must have room for
// four bytes per input byte, and returns the end of what it wrote.
char* writeEscaped(const char* text, std::size_t length, char* out);

// The escaped form of a whole string, for messages that quote a name.
std::string escaped(const char* text);

#endif  // TEXT_ESCAPED_TEXT_H_
