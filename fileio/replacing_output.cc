#include "fileio/replacing_output.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "fileio/failure_errno.h"
#include "fileio/interrupt_cleanup.h"
#include "fileio/path_name.h"

namespace {

unsigned newFilePermissions() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// Linux's own limit on the links followed in one path lookup.
constexpr int kMaxLinkHops = 40;

// A directory that cannot take a new file: the target is then written in place.
bool cannotCreateIn(int error) { return error == EACCES || error == EPERM || error == EROFS; }

bool startsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::strlen(prefix), prefix) == 0;
}

// /dev/stdout, /dev/fd/3, /proc/self/fd/1 and the like stand for a descriptor
// that the caller already holds: its owner (a shell redirection, say) keeps
// writing to the file it opened, so that file must not be replaced by another.
bool namesAnOpenDescriptor(const std::string& path) {
  return path == "/dev/stdout" || path == "/dev/stderr" || path == "/dev/stdin" ||
         startsWith(path, "/dev/fd/") || startsWith(path, "/proc/");
}

// The file a chain of symbolic links ends at, so that the link stays and the
// file it names is replaced; it need not exist yet (a dangling link names the
// file that writing through it creates). Empty when the output must be
// written in place: the chain names an open descriptor. A chain too long to
// follow is left for fopen to refuse.
std::string followLinks(const char* name) {
  std::string path = name;
  for (int hops = 0; hops < kMaxLinkHops; ++hops) {
    if (namesAnOpenDescriptor(path)) {
      return std::string();
    }
    struct stat link {};
    if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
      return path;
    }
    std::vector<char> text(PATH_MAX + 1);
    const ssize_t length = readlink(path.c_str(), text.data(), PATH_MAX);
    if (length < 0) {
      return path;
    }
    const std::string next(text.data(), static_cast<std::size_t>(length));
    path = next[0] == '/' ? next : directoryPart(path) + next;
  }
  return name;
}

// In a sticky directory (/tmp, say) only the owner of a file or of the directory, or root, may
// replace the file: anyone else's rename fails, and it would fail only after the whole output was
// made. Such a target is therefore written in place, as one in a directory that takes no new file.
bool stickyDirectoryKeeps(const std::string& path, const struct stat& target) {
  const uid_t user = geteuid();
  if (user == 0 || target.st_uid == user) {
    return false;
  }
  const std::string directoryName = directoryPart(path);
  struct stat directory {};
  if (stat(directoryName.empty() ? "." : directoryName.c_str(), &directory) != 0) {
    return false;
  }
  return (directory.st_mode & S_ISVTX) != 0 && directory.st_uid != user;
}

// ".NAME.XXXXXX" beside the target. A directory takes names of at most NAME_MAX bytes, so a
// target name within 7 bytes of that limit is cut at its end (on a character boundary) for
// the temporary file: every name that can be written can also be replaced.
std::string temporaryPattern(const std::string& path) {
  const std::size_t addedLength = std::strlen("..XXXXXX");
  const std::string directory = directoryPart(path);
  std::string base = baseName(path);
  long limit = pathconf(directory.empty() ? "." : directory.c_str(), _PC_NAME_MAX);
  if (limit <= 0) {
    limit = NAME_MAX;
  }
  const auto maxLength = static_cast<std::size_t>(limit);
  if (base.size() + addedLength > maxLength) {
    std::size_t keep = maxLength > addedLength ? maxLength - addedLength : 0;
    while (keep > 0 && (static_cast<unsigned char>(base[keep]) & 0xC0) == 0x80) {
      --keep;
    }
    base.resize(keep);
  }
  return directory + "." + base + ".XXXXXX";
}

}  // namespace

ReplacingOutput::~ReplacingOutput() { discard(); }

bool ReplacingOutput::open(const char* name) {
  discard();
  const std::string path = followLinks(name);
  if (path.empty()) {
    out = fopen(name, "w");
    return out != nullptr;
  }

  struct stat existing {};
  const bool exists = stat(path.c_str(), &existing) == 0;
  const bool missing = !exists && errno == ENOENT;
  // An existing file that may not be written is refused as fopen would refuse
  // it: a rename would otherwise replace it behind its permission bits.
  const bool writable = !exists || access(path.c_str(), W_OK) == 0;
  const bool replaceable =
      missing || (exists && S_ISREG(existing.st_mode) && !stickyDirectoryKeeps(path, existing));
  if (replaceable && writable) {
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
  const std::string pattern = temporaryPattern(path);
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  int fd = -1;
  {
    // A signal between making the file and registering it would leave it behind.
    interrupt_cleanup::Deferral deferral;
    fd = mkstemp(buffer.data());
    if (fd < 0) {
      return false;
    }
    temporary = buffer.data();
    target = path;
    cleanupSlot = interrupt_cleanup::add(temporary.c_str());
  }
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

bool ReplacingOutput::complete() {
  if (out == nullptr) {
    return true;
  }
  FILE* file = out;
  out = nullptr;
  bool written = fflush(file) == 0 && ferror(file) == 0;
  int error = written ? 0 : failureErrno();
  // On disk before it takes the target's name, so that a crash right after
  // the rename cannot leave an empty file there. Some file systems report a
  // full disk only here.
  if (written && replacing() && fsync(fileno(file)) != 0 && errno != EINVAL) {
    written = false;
    error = errno;
  }
  if (fclose(file) != 0 && written) {
    written = false;
    error = failureErrno();
  }
  if (!written) {
    discard();
    errno = error;
    return false;
  }
  return true;
}

bool ReplacingOutput::commit() {
  if (!complete()) {
    return false;
  }
  if (replacing() && rename(temporary.c_str(), target.c_str()) != 0) {
    const int error = errno;
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
