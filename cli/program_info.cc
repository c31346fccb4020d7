#include "cli/program_info.h"

#include <cerrno>

#include "cli/exit_status.h"
#include "fileio/output_file.h"

int printProgramInfo(const std::function<void(FILE*)>& write, FILE* out, FILE* err,
                     void (*header)(FILE*)) {
  errno = 0;
  write(out);
  // The first failed write's errno, not a later one's.
  int failure = std::ferror(out) ? errno : 0;
  if (std::fflush(out) != 0 && failure == 0) {
    failure = errno;
  }
  if (!std::ferror(out) && failure == 0) {
    return kExitSuccess;
  }
  if (header != nullptr) {
    header(err);
  }
  std::fputs(cannotWriteMessage(nullptr, failure != 0 ? failure : EIO).c_str(), err);
  return kExitUnwritableOrInvalid;
}
