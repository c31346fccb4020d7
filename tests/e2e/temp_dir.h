#ifndef TESTS_E2E_TEMP_DIR_H_
#define TESTS_E2E_TEMP_DIR_H_

#include <set>
#include <string>

namespace e2e {

// A new empty directory under $TMPDIR (or /tmp), removed with everything in it on destruction.
// Tests that run in parallel each get their own.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The directory's absolute path; empty when it could not be made.
  const std::string& path() const { return path_; }
  // The path of name inside the directory.
  std::string file(const std::string& name) const;
  // Creates or replaces the file name with exactly these bytes; false on failure.
  bool write(const std::string& name, const std::string& content) const;
  // The bytes of the file name; empty when it cannot be read.
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;

 private:
  std::string path_;
};

// The names in the directory at path (none when it cannot be read), to show that a run left no
// file of its own behind.
std::set<std::string> listDirectory(const std::string& path);

}  // namespace e2e

#endif  // TESTS_E2E_TEMP_DIR_H_
