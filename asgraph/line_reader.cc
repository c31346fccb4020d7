#include "asgraph/line_reader.h"

#include <sys/types.h>

#include <algorithm>
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
  if (lineTooLong) {
    return false;
  }
  // As getline reads, taking the stream up to the line feed and no further,
  // but stopping one byte past the longest line.
  std::size_t length = 0;
  int byte = EOF;
  bool outOfMemory = false;
  flockfile(stream);
  while ((byte = getc_unlocked(stream)) != EOF) {
    // Room for this byte and the terminating NUL.
    if (length + 2 > capacity) {
      const std::size_t grown = capacity == 0 ? kFirstBufferSize : 2 * capacity;
      char* larger = static_cast<char*>(std::realloc(buffer, grown));
      if (larger == nullptr) {
        outOfMemory = true;
        break;
      }
      buffer = larger;
      capacity = grown;
    }
    buffer[length++] = static_cast<char>(byte);
    if (byte == '\n' || length > kMaxLineLength) {
      break;
    }
  }
  const bool readError = byte == EOF && ferror_unlocked(stream) != 0;
  funlockfile(stream);
  lineStart = buffer;
  if (length > kMaxLineLength && byte != '\n') {
    lineTooLong = true;
    return false;
  }
  if (readError || outOfMemory || length == 0) {
    return false;
  }
  buffer[length] = '\0';
  return true;
}

bool LineReader::nextFromBlocks() {
  if (lineTooLong) {
    return false;
  }
  do {
    if (searched != filled) {
      // Past the longest line a line feed is of no use: the search stops there.
      const std::size_t longest = kMaxLineLength + 1;
      const std::size_t unsearched = static_cast<std::size_t>(filled - searched);
      const std::size_t scanned = static_cast<std::size_t>(searched - unread);
      const std::size_t wanted =
          scanned >= longest ? 0 : std::min(unsearched, longest - scanned);
      void* lineFeed = std::memchr(searched, '\n', wanted);
      if (lineFeed != nullptr) {
        lineStart = unread;
        unread = searched = static_cast<char*>(lineFeed) + 1;
        return true;
      }
      searched += wanted;
      if (static_cast<std::size_t>(searched - unread) >= longest) {
        lineStart = unread;
        lineTooLong = true;
        return false;
      }
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
