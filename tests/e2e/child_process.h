#ifndef TESTS_E2E_CHILD_PROCESS_H_
#define TESTS_E2E_CHILD_PROCESS_H_

// Pieces shared by the pipe runner and the pseudo-terminal runner.

#include <signal.h>
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/process_runner.h"

namespace e2e {
namespace detail {

using Clock = std::chrono::steady_clock;

// What a child does once its descriptors are in place: exec a program or run a function.
// Either way it never returns.
using ChildBody = std::function<void()>;

// A body that execs program with argv0 (or the program path when empty) and args.
ChildBody execBody(const std::string& program, const std::string& argv0,
                   const std::vector<std::string>& args);
// A body that runs fn, flushes the standard streams and exits with fn's result.
ChildBody functionBody(const std::function<int()>& fn);

// In the child: changes to workDir (unless empty); on failure reports on descriptor 2 and exits
// with status 127.
void enterWorkDir(const std::string& workDir);
// In the child: writes "what: strerror(errno)" to descriptor 2 and exits with status 127.
[[noreturn]] void dieInChild(const char* what);

// Returns a descriptor for the same open file that is not 0, 1 or 2, closing fd when it was one
// of them, so that setting up a child's standard streams never clobbers it. Keeps close-on-exec.
int moveAboveStdio(int fd);

// Reads what is available on fd into sink. Returns false at end of file, or on EIO, which is how
// a pseudo-terminal master reports that the slave side has been closed.
bool readAvailable(int fd, std::string& sink);

// Milliseconds left until deadline, for poll (0 once it has passed).
int millisecondsLeft(Clock::time_point deadline);
Clock::time_point deadlineAfter(double seconds);

// Waits for pid until deadline, then kills it with SIGKILL and reaps it; fills the status fields
// of result.
void reapChild(pid_t pid, Clock::time_point deadline, ProcessResult& result);

// Sets SIGPIPE to ignored for the lifetime of the object, so that writing into the pipe of a
// child that no longer reads gives EPIPE instead of ending the test process.
class IgnoreSigpipe {
 public:
  IgnoreSigpipe();
  ~IgnoreSigpipe();
  IgnoreSigpipe(const IgnoreSigpipe&) = delete;
  IgnoreSigpipe& operator=(const IgnoreSigpipe&) = delete;

 private:
  struct sigaction saved_;
};

// In the child: gives SIGPIPE its default action back.
void restoreSigpipeInChild();

}  // namespace detail
}  // namespace e2e

#endif  // TESTS_E2E_CHILD_PROCESS_H_
