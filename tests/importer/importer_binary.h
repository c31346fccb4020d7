#ifndef TESTS_IMPORTER_IMPORTER_BINARY_H_
#define TESTS_IMPORTER_IMPORTER_BINARY_H_

// The built plandrex-import, run in a directory of the test's own.

#include <string>
#include <vector>

#include "tests/e2e/process_runner.h"

#ifndef IMPORTER_BINARY
#error "IMPORTER_BINARY is set in tests/importer/CMakeLists.txt"
#endif

namespace importer_test {

// Runs plandrex-import (argv[0] "plandrex-import") with args in workDir.
inline e2e::ProcessResult runImporter(const std::vector<std::string>& args,
                                      const std::string& workDir,
                                      e2e::StdinSource input = e2e::StdinSource::nullDevice(),
                                      e2e::StdoutSink output = e2e::StdoutSink::capture()) {
  e2e::RunOptions options;
  options.args = args;
  options.argv0 = "plandrex-import";
  options.workDir = workDir;
  options.input = std::move(input);
  options.output = std::move(output);
  return e2e::runProgram(IMPORTER_BINARY, options);
}

// The same for inputs that take minutes under the sanitizers on a busy machine (the real data):
// killed only after 15 minutes.
inline e2e::ProcessResult runImporterSlowly(const std::vector<std::string>& args,
                                            const std::string& workDir) {
  e2e::RunOptions options;
  options.args = args;
  options.argv0 = "plandrex-import";
  options.workDir = workDir;
  options.timeoutSeconds = 900;
  return e2e::runProgram(IMPORTER_BINARY, options);
}

}  // namespace importer_test

#endif  // TESTS_IMPORTER_IMPORTER_BINARY_H_
