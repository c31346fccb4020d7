#ifndef CONSOLETOOLS_CURSOR_H_
#define CONSOLETOOLS_CURSOR_H_

#include <cstddef>
#include <cstdio>

// Writes to standard output the ANSI sequence that moves the cursor to the given column (counted
// from 1) of the current line. Nothing is flushed.
void goToCol(int column);

// Back to column 1, and the line cleared from there: how a progress line is taken off the screen
// before anything else is written. Kept as bytes so that a signal handler can write(2) them.
inline constexpr char kEraseLine[] = "\r\033[K";
inline constexpr std::size_t kEraseLineLength = sizeof kEraseLine - 1;

// Writes kEraseLine to out. Nothing is flushed.
void eraseLine(FILE* out);

#endif  // CONSOLETOOLS_CURSOR_H_
