#include "table/table_output.h"

#include <cerrno>

bool TableOutput::open(FILE* err) {
  if (output.open(name.empty() ? nullptr : name.c_str(), OutputFile::Checks()) ==
      OutputFile::Opening::kOpened) {
    return true;
  }
  std::fputs(output.message().c_str(), err);
  return false;
}

bool TableOutput::commit(int writeError, FILE* err) {
  errno = writeError;
  if (writeError != 0) {
    output.writeFailed();
  }
  if (output.finish(true)) {
    return true;
  }
  std::fputs(output.message().c_str(), err);
  return false;
}
