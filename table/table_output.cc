#include "table/table_output.h"

#include <cerrno>
#include <cstring>

namespace {

int errorCode() { return errno != 0 ? errno : EIO; }

}  // namespace

bool TableOutput::open(FILE* err) {
  if (name.empty() || file.open(name.c_str())) {
    return true;
  }
  std::fprintf(err, "Unable to open file `%s' for writing\n(%s)\n", name.c_str(),
               std::strerror(errorCode()));
  return false;
}

bool TableOutput::commit(int writeError, FILE* err) {
  if (writeError == 0) {
    errno = 0;
    if (name.empty()) {
      if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        writeError = errorCode();
      }
    } else if (!file.commit()) {
      writeError = errorCode();
    }
  }
  if (writeError == 0) {
    return true;
  }
  file.discard();
  if (name.empty()) {
    std::fprintf(err, "Unable to write to standard output\n(%s)\n", std::strerror(writeError));
  } else {
    std::fprintf(err, "Unable to write to file `%s'\n(%s)\n", name.c_str(),
                 std::strerror(writeError));
  }
  return false;
}
