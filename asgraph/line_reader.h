#ifndef ASGRAPH_LINE_READER_H_
#define ASGRAPH_LINE_READER_H_

#include <cstddef>
#include <cstdio>

// Reads a stream line by line into one buffer that grows to the longest line
// and is reused for every line, so reading allocates nothing per line. A line
// ends at a line feed or at the end of the stream; its text ends at its first
// carriage return, line feed or NUL, and whatever follows that on the same
// line is dropped. The reader consumes the stream only up to the end of the
// line it returns.
class LineReader {
 public:
  explicit LineReader(FILE* stream) : stream(stream) {}
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // false at the end of the stream or when the stream reports a read error;
  // a line cut short by a read error is not returned.
  bool next();
  // The text of the last line read, NUL-terminated; valid until the next
  // call of next() or the reader's destruction. Writable, for the caller's
  // in-place parsing.
  char* text() const { return buffer; }
  std::size_t length() const { return textLength; }

 private:
  FILE* stream;
  char* buffer = nullptr;
  std::size_t capacity = 0;
  std::size_t textLength = 0;
};

#endif  // ASGRAPH_LINE_READER_H_
