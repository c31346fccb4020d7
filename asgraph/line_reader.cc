#include "asgraph/line_reader.h"

#include <sys/types.h>

#include <cstdlib>
#include <cstring>

namespace {

// The buffer starts small, for the many small files, and doubles with each
// read up to the largest size, large enough that the library call and the
// move of a cut line are paid once per thousands of lines, small enough to
// stay in the cache.
constexpr std::size_t kFirstBufferSize = 4096;
constexpr std::size_t kLargestBufferSize = 256 * 1024;

}  // namespace

LineReader::LineReader(FILE* stream, Consumption consumption)
    : stream(stream), readAhead(consumption == Consumption::kReadAhead) {}

LineReader::~LineReader() { std::free(buffer); }

bool LineReader::next() {
  textSettled = false;
  return readAhead ? nextFromBlocks() : nextFromLibrary();
}

bool LineReader::nextFromLibrary() {
  ssize_t read = getline(&buffer, &capacity, stream);
  if (read < 0 || std::ferror(stream)) {
    return false;
  }
  lineStart = buffer;
  return true;
}

bool LineReader::nextFromBlocks() {
  do {
    if (searched != filled) {
      void* lineFeed = std::memchr(searched, '\n', static_cast<std::size_t>(filled - searched));
      if (lineFeed != nullptr) {
        lineStart = unread;
        unread = searched = static_cast<char*>(lineFeed) + 1;
        return true;
      }
      searched = filled;
    }
  } while (refill());
  // The bytes before a read error may be a cut line: only the end of the
  // stream ends a line without a line feed.
  if (streamFailed || unread == filled) {
    return false;
  }
  // refill keeps a byte spare behind the data for this line feed.
  *filled = '\n';
  lineStart = unread;
  unread = searched = filled;
  return true;
}

bool LineReader::refill() {
  if (streamEnded) {
    return false;
  }
  const std::size_t kept = static_cast<std::size_t>(filled - unread);
  const std::size_t searchedOffset = static_cast<std::size_t>(searched - unread);
  if (kept > 0 && unread != buffer) {
    std::memmove(buffer, unread, kept);
  }
  // Behind the data stays a spare byte for the line feed of a last line
  // without one. A cut line longer than the rest of the buffer doubles it
  // further, so that a long line costs a few reads and moves, not one per
  // buffer.
  const std::size_t spare = 1;
  std::size_t grown = capacity == 0                   ? kFirstBufferSize
                      : capacity < kLargestBufferSize ? 2 * capacity
                                                      : capacity;
  while (grown < 2 * kept + spare) {
    grown *= 2;
  }
  if (grown != capacity) {
    char* larger = static_cast<char*>(std::realloc(buffer, grown));
    if (larger == nullptr) {
      streamEnded = streamFailed = true;
      return false;
    }
    buffer = larger;
    capacity = grown;
  }
  const std::size_t wanted = capacity - kept - spare;
  const std::size_t got = std::fread(buffer + kept, 1, wanted, stream);
  unread = buffer;
  searched = buffer + searchedOffset;
  filled = buffer + kept + got;
  if (got < wanted) {
    streamEnded = true;
    streamFailed = std::ferror(stream) != 0;
  }
  return got > 0;
}

void LineReader::settleText() {
  if (textSettled || lineStart == nullptr) {
    return;
  }
  // strcspn stops at the first NUL as well.
  textLength = std::strcspn(lineStart, "\r\n");
  lineStart[textLength] = '\0';
  textSettled = true;
}
