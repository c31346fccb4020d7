#include "consoletools/cursor.h"

#include <cstdio>

void goToCol(int column) { printf("%c[%iG", 27, column); }

void eraseLine(FILE* out) { std::fwrite(kEraseLine, 1, kEraseLineLength, out); }
