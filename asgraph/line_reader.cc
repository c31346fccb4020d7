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
// Line by line, the first piece asked of the library holds most lines whole.
constexpr std::size_t kFirstPieceSize = 64;

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
  // fgets takes the stream up to the line feed and no further, as getline
  // does, but in pieces of a size we choose, so that the longest line bounds
  // what is held. A line may hold NULs: each piece is first filled with a
  // byte that is not one, so that the NUL fgets writes after what it read is
  // the piece's last.
  std::size_t length = 0;
  std::size_t piece = kFirstPieceSize;
  for (;;) {
    if (length + piece > capacity) {
      std::size_t grown = capacity == 0 ? kFirstBufferSize : capacity;
      while (grown < length + piece) {
        grown *= 2;
      }
      char* larger = static_cast<char*>(std::realloc(buffer, grown));
      if (larger == nullptr) {
        return false;
      }
      buffer = larger;
      capacity = grown;
    }
    char* at = buffer + length;
    std::memset(at, '\n', piece);
    if (std::fgets(at, static_cast<int>(piece), stream) == nullptr) {
      // The end of the stream ends a last line without a line feed; a read
      // error drops a cut line.
      if (std::ferror(stream) || length == 0) {
        return false;
      }
      break;
    }
    length += static_cast<std::size_t>(static_cast<const char*>(memrchr(at, '\0', piece)) - at);
    if (buffer[length - 1] == '\n') {
      break;
    }
    if (length > kMaxLineLength) {
      lineStart = buffer;
      lineTooLong = true;
      return false;
    }
    // Never more than one byte past the longest line.
    piece = std::min(2 * piece, kMaxLineLength + 2 - length);
  }
  buffer[length] = '\0';
  lineStart = buffer;
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
