#ifndef CONSOLETOOLS_OVERWRITE_QUESTION_H_
#define CONSOLETOOLS_OVERWRITE_QUESTION_H_

// Asks on standard error whether fileName (escaped as messages quote names) may be overwritten
// and reads the answer line from standard input, whatever the two streams are connected to. True
// exactly when the line starts with 'y' or 'Y'; end of input is a no. The rest of the answer line,
// up to and including its newline, is consumed.
bool askOverwrite(const char* fileName);

#endif  // CONSOLETOOLS_OVERWRITE_QUESTION_H_
