#include "importer/input_lines.h"

#include <cstring>

#include "importer/decoded_input.h"

namespace {
constexpr std::size_t kInitialBufferSize = 1 << 18;
}  // namespace

InputLines::InputLines(DecodedInput& input) : input(input), buffer(kInitialBufferSize) {}

bool InputLines::fill() {
  if (scanFrom > 0) {
    std::memmove(buffer.data(), buffer.data() + scanFrom, filled - scanFrom);
    filled -= scanFrom;
    scanFrom = 0;
  }
  if (filled == buffer.size()) {
    buffer.resize(buffer.size() * 2);
  }
  std::size_t count = 0;
  if (!input.read(buffer.data() + filled, buffer.size() - filled, count)) {
    failure = input.reason();
    return false;
  }
  filled += count;
  atEnd = count == 0;
  return true;
}

bool InputLines::next() {
  if (failed()) {
    return false;
  }
  std::size_t searchFrom = scanFrom;
  for (;;) {
    const char* start = buffer.data() + searchFrom;
    const void* feed = std::memchr(start, '\n', filled - searchFrom);
    if (feed != nullptr || (atEnd && scanFrom < filled)) {
      lineBegin = buffer.data() + scanFrom;
      lineEnd = feed != nullptr ? static_cast<const char*>(feed) : buffer.data() + filled;
      scanFrom = static_cast<std::size_t>(lineEnd - buffer.data()) + (feed != nullptr ? 1 : 0);
      // A last line without a line feed may still end in the carriage return
      // of a CRLF file: it is dropped there too.
      if (lineEnd > lineBegin && lineEnd[-1] == '\r') {
        --lineEnd;
      }
      ++lineNumber;
      if (static_cast<std::size_t>(lineEnd - lineBegin) > kMaxLineLength) {
        failure = "line longer than " + std::to_string(kMaxLineLength) + " bytes";
        return false;
      }
      return true;
    }
    if (atEnd) {
      return false;
    }
    if (filled - scanFrom > kMaxLineLength + 1) {
      ++lineNumber;
      failure = "line longer than " + std::to_string(kMaxLineLength) + " bytes";
      return false;
    }
    // Only the new bytes need a search; fill() moves the pending ones to the front.
    const std::size_t searched = filled - scanFrom;
    if (!fill()) {
      ++lineNumber;
      return false;
    }
    searchFrom = scanFrom + searched;
  }
}
