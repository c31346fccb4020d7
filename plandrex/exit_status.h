#ifndef PLANDREX_EXIT_STATUS_H_
#define PLANDREX_EXIT_STATUS_H_

// Exit statuses of plandrex. Scripts test them, so their values never change.

// The run succeeded, or --help was given.
constexpr int kExitSuccess = 0;
// The command line was rejected.
constexpr int kExitCommandLineRejected = 1;
// An input cannot be opened, or the user declined to overwrite the output file.
constexpr int kExitDeclinedOrUnreadable = 2;
// The output cannot be opened or written, or an input is not a valid graph.
constexpr int kExitUnwritableOrInvalid = 3;

#endif  // PLANDREX_EXIT_STATUS_H_
