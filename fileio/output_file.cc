#include "fileio/output_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "fileio/failure_errno.h"
#include "text/escaped_text.h"

namespace {

bool isStandardInput(const char* name) { return std::strcmp(name, "-") == 0; }

bool sameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// True when the output names an existing file that an input also reaches.
bool isAnInput(const char* output, const std::vector<const char*>& inputs) {
  struct stat target {};
  if (stat(output, &target) != 0) {
    return false;
  }
  for (const char* name : inputs) {
    struct stat input {};
    if (isStandardInput(name)) {
      if (fstat(fileno(stdin), &input) == 0 && S_ISREG(input.st_mode) && sameFile(input, target)) {
        return true;
      }
    } else if (stat(name, &input) == 0 && sameFile(input, target)) {
      return true;
    }
  }
  return false;
}

bool exists(const char* name) {
  FILE* existing = std::fopen(name, "r");
  if (existing == nullptr) {
    return false;
  }
  std::fclose(existing);
  return true;
}

}  // namespace

std::string cannotWriteMessage(const char* name, int error) {
  const std::string headline = name == nullptr
                                   ? "Unable to write to standard output\n"
                                   : "Unable to write to file `" + escaped(name) + "'\n";
  return headline + "(" + std::strerror(error) + ")\n";
}

OutputFile::Opening OutputFile::refuse(const char* reason) {
  failure = "Unable to open file `" + escaped(name.c_str()) + "' for writing\n(" + reason + ")\n";
  return Opening::kRefused;
}

OutputFile::Opening OutputFile::open(const char* target, const Checks& checks) {
  if (target == nullptr) {
    out = stdout;
    return Opening::kOpened;
  }
  name = target;
  if (isAnInput(target, checks.inputs)) {
    return refuse("it is also an input file");
  }
  if (checks.mayOverwrite != nullptr && exists(target) && !checks.mayOverwrite(target)) {
    return Opening::kDeclined;
  }
  if (!file.open(target)) {
    return refuse(std::strerror(failureErrno()));
  }
  out = file.stream();
  return Opening::kOpened;
}

void OutputFile::writeFailed() {
  if (writeErrno == 0) {
    writeErrno = failureErrno();
  }
}

bool OutputFile::finish(bool runSucceeded) {
  if (out == nullptr) {
    return true;
  }
  const bool standardOutput = out == stdout;
  int error = writeErrno;
  if (error == 0 && std::ferror(out)) {
    error = failureErrno();
  }
  if (standardOutput) {
    if (std::fflush(stdout) != 0 && error == 0) {
      error = failureErrno();
    }
  } else if (!runSucceeded || error != 0) {
    file.discard();
  } else if (!file.commit()) {
    error = failureErrno();
  }
  out = nullptr;
  if (!runSucceeded || error == 0) {
    return true;
  }
  failure = cannotWriteMessage(standardOutput ? nullptr : name.c_str(), error);
  return false;
}
