#ifndef FILEIO_OUT_OF_MEMORY_H_
#define FILEIO_OUT_OF_MEMORY_H_

#include <cstdio>
#include <functional>

// Runs a program's work and returns its exit status. Should memory run out
// (std::bad_alloc from any allocation, a graph arena's included), the stack is
// unwound first, so that an output file not yet committed removes its
// temporary file and leaves its target as it was; then header (when not null)
// and "Out of memory" are written to err, and the result is status. An
// uncaught exception would instead end the process by SIGABRT with the
// temporary file left behind.
int runWithinMemory(const std::function<int()>& work, FILE* err, int status,
                    void (*header)(FILE*) = nullptr);

#endif  // FILEIO_OUT_OF_MEMORY_H_
