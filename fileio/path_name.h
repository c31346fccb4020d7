#ifndef FILEIO_PATH_NAME_H_
#define FILEIO_PATH_NAME_H_

#include <string>

// The parts of a path around its last slash, as written: no link is followed
// and no "." or ".." resolved.

// The name after the last slash (the whole path when it has none).
std::string baseName(const std::string& path);
// Everything up to and including the last slash ("" when there is none), so
// that directoryPart(path) + baseName(path) == path.
std::string directoryPart(const std::string& path);

#endif  // FILEIO_PATH_NAME_H_
