#include "fileio/output_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "fileio/failure_errno.h"
#include "fileio/path_name.h"
#include "text/escaped_text.h"

namespace {

bool isStandardInput(const char* name) { return std::strcmp(name, "-") == 0; }

bool sameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// True when the output names an existing file that an input also reaches.
bool isAnInput(const char* output, const std::vector<std::string>& inputs) {
  struct stat target {};
  if (stat(output, &target) != 0) {
    return false;
  }
  for (const std::string& name : inputs) {
    struct stat input {};
    if (isStandardInput(name.c_str())) {
      if (fstat(fileno(stdin), &input) == 0 && S_ISREG(input.st_mode) && sameFile(input, target)) {
        return true;
      }
    } else if (stat(name.c_str(), &input) == 0 && sameFile(input, target)) {
      return true;
    }
  }
  return false;
}

// Where an output will land: the file it names, or, while the name does not exist yet, its
// directory and last component (an output's file is made only when the run succeeds).
struct Landing {
  struct stat place {};
  std::string leaf;  // empty when place is the file itself
};

bool landing(const std::string& name, Landing& where) {
  if (name.empty()) {
    return false;
  }
  if (stat(name.c_str(), &where.place) == 0) {
    return true;
  }
  const std::string directory = directoryPart(name);
  where.leaf = baseName(name);
  return stat(directory.empty() ? "." : directory.c_str(), &where.place) == 0;
}

bool isAnOutput(const char* output, const std::vector<std::string>& outputs) {
  Landing target;
  if (!landing(output, target)) {
    return false;
  }
  for (const std::string& name : outputs) {
    Landing other;
    if (landing(name, other) && sameFile(other.place, target.place) && other.leaf == target.leaf) {
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
  if (isAnOutput(target, checks.outputs)) {
    return refuse("it is also an output file");
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

bool OutputFile::complete() {
  if (out == nullptr) {
    return !incomplete;
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
  } else if (error != 0) {
    file.discard();
  } else if (!file.complete()) {
    error = failureErrno();
  }
  out = nullptr;
  if (error == 0) {
    return true;
  }
  incomplete = true;
  failure = cannotWriteMessage(standardOutput ? nullptr : name.c_str(), error);
  return false;
}

bool OutputFile::finish(bool runSucceeded) {
  if (!runSucceeded) {
    if (out == stdout) {
      std::fflush(stdout);
    } else {
      file.discard();
    }
    out = nullptr;
    return true;
  }
  if (!complete()) {
    return false;
  }
  if (!file.commit()) {
    failure = cannotWriteMessage(name.c_str(), failureErrno());
    return false;
  }
  return true;
}

bool finishTogether(std::initializer_list<OutputFile*> outputs, std::string& message) {
  bool whole = true;
  for (OutputFile* output : outputs) {
    if (whole && !output->complete()) {
      message = output->message();
      whole = false;
    }
  }
  // Only a rename is left to fail here, in a directory that just took a temporary file; should
  // one fail, the outputs renamed before it stay.
  for (OutputFile* output : outputs) {
    if (whole && !output->finish(true)) {
      message = output->message();
      whole = false;
    } else if (!whole) {
      output->finish(false);
    }
  }
  return whole;
}
