#include "consoletools/cursor.h"

#include <cstdio>

void goToCol(int column) { printf("%c[%iG", 27, column); }
