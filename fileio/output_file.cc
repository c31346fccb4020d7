#include "fileio/output_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "fileio/failure_errno.h"
#include "fileio/interrupt_cleanup.h"
#include "fileio/path_name.h"
#include "text/escaped_text.h"

namespace {

bool isStandardInput(const char* name) { return std::strcmp(name, "-") == 0; }

bool sameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Where a name lands: the file it names or, for a name that does not exist yet, its directory and
// last component.
struct Landing {
  struct stat place {};
  std::string leaf;  // empty when place is the file itself
};

// What the names compared with an output are.
enum class Names {
  // Files the run reads: "-" is standard input, which lands on the regular file it is redirected
  // from; a name that does not exist is no file.
  kInputs,
  // Outputs opened before: a name that does not exist yet will be made when the run succeeds.
  kOutputs,
};

bool landing(const std::string& name, Names kind, bool isOutput, Landing& where) {
  if (name.empty()) {
    return false;
  }
  if (!isOutput && kind == Names::kInputs && isStandardInput(name.c_str())) {
    return fstat(fileno(stdin), &where.place) == 0 && S_ISREG(where.place.st_mode);
  }
  if (stat(name.c_str(), &where.place) == 0) {
    return true;
  }
  const std::string directory = directoryPart(name);
  where.leaf = baseName(name);
  return kind == Names::kOutputs &&
         stat(directory.empty() ? "." : directory.c_str(), &where.place) == 0;
}

// True when output reaches the same file as one of names, whichever way each is spelt (through
// links, "./", another directory's name).
bool reachesAny(const char* output, const std::vector<std::string>& names, Names kind) {
  Landing target;
  if (!landing(output, kind, true, target)) {
    return false;
  }
  for (const std::string& name : names) {
    Landing other;
    if (landing(name, kind, false, other) && sameFile(other.place, target.place) &&
        other.leaf == target.leaf) {
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
  if (reachesAny(target, checks.inputs, Names::kInputs)) {
    return refuse("it is also an input file");
  }
  if (reachesAny(target, checks.outputs, Names::kOutputs)) {
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
  // one fail, the outputs renamed before it stay. A signal waits until every output is in place,
  // so that an interrupt cannot replace one target and not the other.
  const interrupt_cleanup::Deferral signalsWait;
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
