#ifndef TESTS_E2E_PTY_RUNNER_H_
#define TESTS_E2E_PTY_RUNNER_H_

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/process_runner.h"

namespace e2e {

// Line discipline settings of a new pseudo-terminal. The defaults make what the terminal shows
// byte-exact: no "\n" to "\r\n" translation and no echo of typed input. Input stays in canonical
// (line) mode, so a program reads typed text a line at a time, as from a keyboard.
struct TerminalOptions {
  bool translateNewlines = false;  // ONLCR: "\n" written by the program shows as "\r\n"
  bool echo = false;               // typed input shows on the terminal
  unsigned short rows = 24;
  unsigned short columns = 80;
};

// A pseudo-terminal pair, closed on destruction. The slave is the terminal a program sees;
// reading the master gives what the program wrote, writing the master types input.
class PseudoTerminal {
 public:
  PseudoTerminal() = default;
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  // Opens a new pair with the given settings; false (with error() set) when that fails. Both
  // descriptors are close-on-exec and not 0, 1 or 2.
  bool open(const TerminalOptions& options = TerminalOptions());
  int master() const { return master_; }
  int slave() const { return slave_; }
  void closeMaster();
  void closeSlave();
  // Reads from the master until the slave has been closed everywhere (or timeout) and returns
  // everything read. Close your own slave descriptor first.
  std::string drain(double timeoutSeconds = 10);
  const std::string& error() const { return error_; }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string error_;
};

struct PtyOptions {
  std::vector<std::string> args;  // argv[1] onwards
  std::string argv0;              // argv[0]; empty means the program path
  std::string workDir;            // empty means the caller's
  TerminalOptions terminal;
  bool separateStderr = false;  // standard error to a pipe of its own instead of the terminal
  double timeoutSeconds = 60;   // finish() kills the child with SIGKILL after this long
};

// One program running on a pseudo-terminal: its standard input and output (and standard error
// unless separateStderr) are the slave, which is also its controlling terminal. Destroying a
// session whose child still runs kills and reaps the child.
class PtySession {
 public:
  PtySession() = default;
  ~PtySession();
  PtySession(const PtySession&) = delete;
  PtySession& operator=(const PtySession&) = delete;

  // Starts program; false (with error() set) when the terminal or the process cannot be made.
  bool start(const std::string& program, const PtyOptions& options);
  // Starts a fork of the calling process that runs body and exits with its result, after
  // flushing the standard streams. options.args and argv0 are ignored.
  bool startFunction(const std::function<int()>& body, const PtyOptions& options);

  // Types bytes at the terminal, as the user would. False when they cannot all be written.
  bool type(const std::string& bytes);
  // Types the end-of-file character (Ctrl-D); at the start of a line the program reads end of
  // input.
  bool typeEndOfInput();
  // Collects output until what the terminal showed so far contains needle; false when the
  // program ends or timeoutSeconds pass first.
  bool waitFor(const std::string& needle, double timeoutSeconds = 30);
  // Sends signalNumber to the program; false when it has already been reaped or kill fails.
  bool sendSignal(int signalNumber);
  // Collects the rest of the output, waits for the program to end and returns the result: out is
  // everything the terminal showed, err what went to the separate standard error pipe.
  ProcessResult finish();

  const std::string& screen() const { return screen_; }
  const std::string& separateErr() const { return err_; }
  const std::string& error() const { return error_; }

 private:
  bool launch(const std::function<void()>& body, const PtyOptions& options);
  // Reads whatever arrives within the deadline; returns when there was some activity, when both
  // sources ended, or at the deadline.
  void pump(int timeoutMilliseconds);

  PseudoTerminal terminal_;
  int errFd_ = -1;
  pid_t pid_ = -1;
  double timeoutSeconds_ = 60;
  bool masterOpen_ = false;
  std::string screen_;
  std::string err_;
  std::string error_;
};

// Runs program on a new pseudo-terminal, types input (if any) at once, and waits for the end.
ProcessResult runInTerminal(const std::string& program, const PtyOptions& options,
                            const std::string& input = "");

}  // namespace e2e

#endif  // TESTS_E2E_PTY_RUNNER_H_
