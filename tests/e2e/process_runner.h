#ifndef TESTS_E2E_PROCESS_RUNNER_H_
#define TESTS_E2E_PROCESS_RUNNER_H_

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace e2e {

// Where a child's standard input comes from.
struct StdinSource {
  enum class Kind { kNullDevice, kBytes, kFile };

  // The null device (the default): reads give end of input at once.
  static StdinSource nullDevice() { return {Kind::kNullDevice, ""}; }
  // A pipe that receives exactly these bytes and is then closed.
  static StdinSource bytes(std::string data) { return {Kind::kBytes, std::move(data)}; }
  // The file at path, opened for reading (relative to the caller's working directory).
  static StdinSource file(std::string path) { return {Kind::kFile, std::move(path)}; }

  Kind kind;
  std::string data;  // the bytes for kBytes, the path for kFile
};

// Where a child's standard output goes.
struct StdoutSink {
  enum class Kind { kCapture, kNullDevice, kFile };

  // A pipe whose bytes end up in ProcessResult::out (the default).
  static StdoutSink capture() { return {Kind::kCapture, ""}; }
  // The null device, which the program sees as a character device.
  static StdoutSink nullDevice() { return {Kind::kNullDevice, ""}; }
  // A regular file at path, created or truncated (relative to the caller's working directory).
  static StdoutSink file(std::string path) { return {Kind::kFile, std::move(path)}; }

  Kind kind;
  std::string path;
};

struct RunOptions {
  std::vector<std::string> args;  // argv[1] onwards
  std::string argv0;              // argv[0]; empty means the program path
  std::string workDir;            // working directory of the child; empty means the caller's
  StdinSource input = StdinSource::nullDevice();
  StdoutSink output = StdoutSink::capture();
  double timeoutSeconds = 60;  // the child is killed with SIGKILL after this long
};

// How a child ended and what it wrote. Standard error is always captured.
struct ProcessResult {
  std::string out;      // standard output bytes (or, for a terminal run, what the terminal showed)
  std::string err;      // standard error bytes
  int exitStatus = -1;  // the status passed to exit, when the child exited normally
  int termSignal = 0;   // the signal that ended the child, or 0
  bool timedOut = false;  // the child was killed for running too long
  std::string failure;    // set when the child could not be started at all

  bool exitedWith(int status) const {
    return failure.empty() && !timedOut && termSignal == 0 && exitStatus == status;
  }
};

// Prints the result in a form that test failure messages can show.
std::ostream& operator<<(std::ostream& os, const ProcessResult& result);

// Runs program with options.args in a child process and waits for it. Standard input, output
// and error are set up as options say; output pipes are drained with poll, so a child that writes
// a lot while the parent still feeds its input does not deadlock. SIGPIPE is ignored in the
// calling process while the child runs and restored afterwards; the child gets the default.
ProcessResult runProgram(const std::string& program, const RunOptions& options);

// Like runProgram, but the child is a fork of the calling process that runs body and exits with
// its result, after flushing the standard streams. options.args and argv0 are ignored. Use it to
// test code that writes to the standard streams or keeps process-wide state.
ProcessResult runFunction(const std::function<int()>& body, const RunOptions& options);

}  // namespace e2e

#endif  // TESTS_E2E_PROCESS_RUNNER_H_
