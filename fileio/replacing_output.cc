#include "fileio/replacing_output.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "fileio/interrupt_cleanup.h"

namespace {

// The directory part of a path, with its slash ("" for a bare name).
std::string directoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string baseNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

unsigned newFilePermissions() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// A directory that cannot take a new file: the target is then written in place.
bool cannotCreateIn(int error) { return error == EACCES || error == EPERM || error == EROFS; }

}  // namespace

ReplacingOutput::~ReplacingOutput() { discard(); }

bool ReplacingOutput::open(const char* name) {
  discard();
  std::string path = name;
  struct stat link {};
  if (lstat(name, &link) == 0 && S_ISLNK(link.st_mode)) {
    // Replace the file the link names, so that the link itself stays.
    char* resolved = realpath(name, nullptr);
    if (resolved != nullptr) {
      path = resolved;
      free(resolved);
    }
  }

  struct stat existing {};
  const bool exists = stat(path.c_str(), &existing) == 0;
  const bool missing = !exists && errno == ENOENT;
  // An existing file that may not be written is refused as fopen would refuse
  // it: a rename would otherwise replace it behind its permission bits.
  const bool writable = !exists || access(path.c_str(), W_OK) == 0;
  if (((exists && S_ISREG(existing.st_mode)) || missing) && writable) {
    const unsigned permissions = exists ? existing.st_mode & 07777 : newFilePermissions();
    if (openTemporary(path, exists, permissions)) {
      return true;
    }
    if (!cannotCreateIn(errno)) {
      return false;
    }
  }
  out = fopen(name, "w");
  return out != nullptr;
}

bool ReplacingOutput::openTemporary(const std::string& path, bool exists, unsigned permissions) {
  std::string pattern = directoryOf(path) + "." + baseNameOf(path) + ".XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  const int fd = mkstemp(buffer.data());
  if (fd < 0) {
    return false;
  }
  temporary = buffer.data();
  target = path;
  cleanupSlot = interrupt_cleanup::add(temporary.c_str());
  if (exists) {
    // Keep the owner and group where the permissions allow it (root, or the
    // file's owner keeping one of their own groups); a failure changes nothing.
    struct stat original {};
    if (stat(path.c_str(), &original) == 0 &&
        (original.st_uid != geteuid() || original.st_gid != getegid())) {
      if (fchown(fd, original.st_uid, original.st_gid) != 0) {
        errno = 0;
      }
    }
  }
  if (fchmod(fd, permissions) != 0) {
    const int error = errno;
    close(fd);
    discard();
    errno = error;
    return false;
  }
  out = fdopen(fd, "w");
  if (out == nullptr) {
    const int error = errno;
    close(fd);
    discard();
    errno = error;
    return false;
  }
  return true;
}

bool ReplacingOutput::commit() {
  if (out == nullptr) {
    return true;
  }
  FILE* file = out;
  out = nullptr;
  bool written = fflush(file) == 0 && ferror(file) == 0;
  int error = written ? 0 : (errno != 0 ? errno : EIO);
  if (fclose(file) != 0 && written) {
    written = false;
    error = errno != 0 ? errno : EIO;
  }
  if (written && replacing() && rename(temporary.c_str(), target.c_str()) != 0) {
    written = false;
    error = errno;
  }
  if (!written) {
    discard();
    errno = error;
    return false;
  }
  interrupt_cleanup::remove(cleanupSlot);
  cleanupSlot = -1;
  temporary.clear();
  target.clear();
  return true;
}

void ReplacingOutput::discard() {
  const int savedErrno = errno;
  if (out != nullptr) {
    fclose(out);
    out = nullptr;
  }
  if (replacing()) {
    unlink(temporary.c_str());
    interrupt_cleanup::remove(cleanupSlot);
  }
  cleanupSlot = -1;
  temporary.clear();
  target.clear();
  errno = savedErrno;
}
