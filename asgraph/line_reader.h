#ifndef ASGRAPH_LINE_READER_H_
#define ASGRAPH_LINE_READER_H_

#include <cstddef>
#include <cstdio>

// Reads a stream line by line into one buffer that grows to the longest line
// (or block) and is reused, so reading allocates nothing per line. A line
// ends at a line feed or at the end of the stream; its text ends at its first
// carriage return, line feed or NUL, and whatever follows that on the same
// line is dropped. A line of more than kMaxLineLength bytes (its line feed not
// counted) ends the read instead: no graph file has one, and holding it would
// let a stream without line feeds (/dev/zero) take all memory.
class LineReader {
 public:
  static constexpr std::size_t kMaxLineLength = std::size_t{1} << 20;

  // How much of the stream the reader may take.
  enum class Consumption {
    // Only up to the end of the line returned, so that whoever reads the
    // stream next (a second read of standard input) starts right after it.
    kUpToLineReturned,
    // Large blocks, past the last line returned: for a file nobody reads
    // after this reader, where it saves a library call per line. A read
    // waits for a whole block or the end of the stream, so this is no mode
    // for pipes or terminals.
    kReadAhead,
  };

  explicit LineReader(FILE* stream, Consumption consumption = Consumption::kUpToLineReturned);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // false at the end of the stream, when the stream reports a read error (a
  // line cut short by one is not returned) or at a line that is too long.
  bool next();

  // Whether next() failed at a line longer than kMaxLineLength; line() then
  // holds its first kMaxLineLength bytes, unterminated, which the stream has
  // been read past.
  bool tooLong() const { return lineTooLong; }

  // The last line read, unterminated: its text ends at the first NUL,
  // carriage return or line feed from here on, and one of them is always
  // there. For a parser that finds the end of the text as it goes; valid
  // until the next call of next() or the reader's destruction.
  const char* line() const { return lineStart; }

  // The text of the last line read, NUL-terminated (text() writes the NUL
  // into the line); valid until the next call of next() or the reader's
  // destruction. Writable, for the caller's in-place parsing.
  char* text() {
    settleText();
    return lineStart;
  }
  std::size_t length() {
    settleText();
    return textLength;
  }

 private:
  bool nextFromLibrary();
  bool nextFromBlocks();
  // Reads more of the stream after the unreturned bytes, which it first moves
  // to the front of the buffer; false when nothing more came.
  bool refill();
  void settleText();

  FILE* stream;
  const bool readAhead;
  char* buffer = nullptr;
  std::size_t capacity = 0;
  char* lineStart = nullptr;
  std::size_t textLength = 0;
  bool textSettled = false;
  bool lineTooLong = false;

  // Block reading: [unread, filled) holds the bytes read but not yet
  // returned; the search for the next line feed resumes at searched.
  char* unread = nullptr;
  char* filled = nullptr;
  char* searched = nullptr;
  bool streamEnded = false;
  bool streamFailed = false;
};

#endif  // ASGRAPH_LINE_READER_H_
