#include "consoletools/overwrite_question.h"

#include <cstdio>

#include "text/escaped_text.h"

bool askOverwrite(const char* fileName) {
  fprintf(stderr, "Warning: file `%s'\nalready exists and is about to be overwritten.\n",
          escaped(fileName).c_str());
  fprintf(stderr, "Do you want to proceed (y/n)? ");
  fflush(stderr);

  int c = getchar();
  const bool yes = c == 'Y' || c == 'y';
  // Drop the rest of the line so that the next read starts on the following one.
  while (c != '\n' && c != EOF) {
    c = getchar();
  }
  return yes;
}
