#include "tests/man/man_page_render.h"

#include <sstream>

#include "tests/e2e/process_runner.h"

namespace mancheck {

std::string renderingProblems(const std::string& groff, const std::string& page) {
  std::ostringstream problems;
  for (const char* device : {"-Tps", "-Tutf8", "-Tascii"}) {
    e2e::RunOptions options;
    options.args = {"-man", "-ww", "-z", device, page};
    const e2e::ProcessResult result = e2e::runProgram(groff, options);
    if (!result.exitedWith(0) || !result.err.empty()) {
      problems << device << ": " << result;
    }
  }
  return problems.str();
}

std::string renderAsText(const std::string& groff, const std::string& page) {
  e2e::RunOptions options;
  // -P-cbou: no overstriking or escape sequences for bold and underline; -rLL: 80 columns.
  options.args = {"-man", "-Tascii", "-P-cbou", "-rLL=80n", page};
  const e2e::ProcessResult result = e2e::runProgram(groff, options);
  return result.exitedWith(0) ? result.out : std::string();
}

}  // namespace mancheck
