#include "plandrex/banner.h"

#include "consoletools/terminal.h"

void printHeader(FILE* stream) {
  // One flag for the whole process: a banner on standard output is not repeated on standard
  // error before a later error message, and the reverse.
  static bool alreadyPrinted = false;
  if (alreadyPrinted) {
    return;
  }
  if (isTerm(stream)) {
    fprintf(stream, "%splandrex%s %s\n", kBoldOn, kAttributesOff, kPlandrexVersion);
  } else {
    fprintf(stream, "plandrex %s\n", kPlandrexVersion);
  }
  alreadyPrinted = true;
}
