#include "consoletools/terminal.h"

#include <sys/stat.h>

namespace {

// The file-type bits of st_mode and the character-device type, as laid down by POSIX.
constexpr unsigned kFileTypeMask = 0xF000;
constexpr unsigned kCharacterDevice = 0x2000;
static_assert(kFileTypeMask == S_IFMT && kCharacterDevice == S_IFCHR,
              "unexpected st_mode encoding");

}  // namespace

bool isTerm(FILE* stream) {
  if (stream == nullptr) {
    return false;
  }
  struct stat status;
  if (fstat(fileno(stream), &status) != 0) {
    return false;
  }
  return (status.st_mode & kFileTypeMask) == kCharacterDevice;
}
