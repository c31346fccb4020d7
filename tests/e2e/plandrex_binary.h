#ifndef TESTS_E2E_PLANDREX_BINARY_H_
#define TESTS_E2E_PLANDREX_BINARY_H_

// The built plandrex executable, for tests added with plandrex_add_e2e_test.

#include <string>

#include "tests/e2e/process_runner.h"
#include "tests/e2e/pty_runner.h"

#ifndef PLANDREX_BINARY
#error "PLANDREX_BINARY is set by plandrex_add_e2e_test in tests/e2e/CMakeLists.txt"
#endif

namespace e2e {

inline std::string plandrexPath() { return PLANDREX_BINARY; }

// Runs plandrex with the given options (argv[0] is "plandrex" unless options.argv0 says
// otherwise).
inline ProcessResult runPlandrex(RunOptions options) {
  if (options.argv0.empty()) {
    options.argv0 = "plandrex";
  }
  return runProgram(plandrexPath(), options);
}

// Runs plandrex with these arguments, standard input on the null device and standard output
// captured.
inline ProcessResult runPlandrex(const std::vector<std::string>& args) {
  RunOptions options;
  options.args = args;
  return runPlandrex(options);
}

// Runs plandrex on a new pseudo-terminal (argv[0] is "plandrex" unless options.argv0 says
// otherwise), types input, and waits for it to end.
inline ProcessResult runPlandrexInTerminal(PtyOptions options, const std::string& input = "") {
  if (options.argv0.empty()) {
    options.argv0 = "plandrex";
  }
  return runInTerminal(plandrexPath(), options, input);
}

}  // namespace e2e

#endif  // TESTS_E2E_PLANDREX_BINARY_H_
