#ifndef TESTS_IMPORTER_SHELL_COMMANDS_H_
#define TESTS_IMPORTER_SHELL_COMMANDS_H_

// What the routing-table tests need around the importer: the shared data
// beside the source tree, and other programs (bgpdump, python3) run through
// the shell.

#include <sys/stat.h>

#include <string>

#include "tests/e2e/process_runner.h"
#include "tests/e2e/temp_dir.h"

#ifndef PLANDREX_SOURCE_DIR
#error "PLANDREX_SOURCE_DIR is set in tests/importer/CMakeLists.txt"
#endif

namespace importer_test {

const std::string kDataDir = std::string(PLANDREX_SOURCE_DIR) + "/../shared/data";

inline bool exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

// Runs command with /bin/sh in workDir; the real tables take minutes under the
// sanitizers on a busy machine.
inline e2e::ProcessResult shell(const std::string& command, const std::string& workDir) {
  e2e::RunOptions options;
  options.args = {"-c", command};
  options.workDir = workDir;
  options.timeoutSeconds = 1800;
  return e2e::runProgram("/bin/sh", options);
}

inline bool haveCommand(const char* name) {
  e2e::TempDir dir;
  return shell(std::string("command -v ") + name + " >/dev/null", dir.path()).exitedWith(0);
}

}  // namespace importer_test

#endif  // TESTS_IMPORTER_SHELL_COMMANDS_H_
