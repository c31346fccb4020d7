#include "asgraph/line_reader.h"

#include <sys/types.h>

#include <cstdlib>
#include <cstring>

LineReader::~LineReader() { std::free(buffer); }

bool LineReader::next() {
  ssize_t read = getline(&buffer, &capacity, stream);
  if (read < 0 || std::ferror(stream)) {
    return false;
  }
  // strcspn stops at the first NUL as well.
  textLength = std::strcspn(buffer, "\r\n");
  buffer[textLength] = '\0';
  return true;
}
