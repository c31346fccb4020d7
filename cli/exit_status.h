#ifndef CLI_EXIT_STATUS_H_
#define CLI_EXIT_STATUS_H_

// Exit statuses of every program of the project. Scripts test them, so their values never change.

// The run succeeded, or --help or --version was given.
constexpr int kExitSuccess = 0;
// The command line was rejected.
constexpr int kExitCommandLineRejected = 1;
// An input cannot be opened, or the user declined to overwrite the output file.
constexpr int kExitDeclinedOrUnreadable = 2;
// The output cannot be opened or written, or an input is not valid.
constexpr int kExitUnwritableOrInvalid = 3;

#endif  // CLI_EXIT_STATUS_H_
