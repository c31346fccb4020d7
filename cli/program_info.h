#ifndef CLI_PROGRAM_INFO_H_
#define CLI_PROGRAM_INFO_H_

#include <cstdio>
#include <functional>

// Writes --help's or --version's text with write(out) and returns the exit status: success once
// out took all of it, else 3 after header(err) (when not null) and "Unable to write to standard
// output" with the system's reason on err. Text that never reached its reader is no success.
int printProgramInfo(const std::function<void(FILE*)>& write, FILE* out, FILE* err,
                     void (*header)(FILE*) = nullptr);

#endif  // CLI_PROGRAM_INFO_H_
