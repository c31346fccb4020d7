#ifndef CONSOLETOOLS_CURSOR_H_
#define CONSOLETOOLS_CURSOR_H_

// Writes to standard output the ANSI sequence that moves the cursor to the given column (counted
// from 1) of the current line. Nothing is flushed.
void goToCol(int column);

#endif  // CONSOLETOOLS_CURSOR_H_
