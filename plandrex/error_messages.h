#ifndef PLANDREX_ERROR_MESSAGES_H_
#define PLANDREX_ERROR_MESSAGES_H_

// Formats of the error lines that several failures share. A headline names what failed; "%s" is
// the file name. The detail line under it is the system's reason or the graph reader's.

constexpr const char* kCannotOpenGraphFile = "Unable to open graph file `%s'\n";
constexpr const char* kCannotOpenSourceFile = "Unable to open source file `%s'\n";
constexpr const char* kNotAGraphFile = "File `%s' does not appear to be a valid graph file:\n";

// Detail lines: the system's text for an errno, in parentheses, or a reader's reason as it is.
constexpr const char* kSystemDetail = "(%s)\n";
constexpr const char* kReasonDetail = "%s\n";

#endif  // PLANDREX_ERROR_MESSAGES_H_
