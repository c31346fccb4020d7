#ifndef IMPORTER_INPUT_LINES_H_
#define IMPORTER_INPUT_LINES_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class DecodedInput;

// Splits a decoded input into lines. A line ends at a line feed, or at the
// end of the input when the last line has none; one carriage return before
// the line feed, or at the end of the input, is dropped with it. The text of a line may hold any byte,
// NUL included. Lines are handed out from one buffer that is reused, so
// reading allocates nothing per line.
class InputLines {
 public:
  // Lines longer than this are refused rather than held in memory: a file
  // without line feeds is not one of the formats anyway.
  static constexpr std::size_t kMaxLineLength = 1 << 20;

  explicit InputLines(DecodedInput& input);

  // Moves to the next line. false at the end of the input, or on a failure,
  // which failed() and reason() tell.
  bool next();
  // The current line's text, without its line end; valid until next().
  const char* begin() const { return lineBegin; }
  const char* end() const { return lineEnd; }
  // The current line's number, counted from 1; after a failure, the number
  // of the line that could not be read.
  std::uint64_t number() const { return lineNumber; }
  bool failed() const { return !failure.empty(); }
  const std::string& reason() const { return failure; }

 private:
  // Reads more decoded bytes behind those not yet handed out; false on a
  // failure. Sets atEnd when the input has no more bytes.
  bool fill();

  DecodedInput& input;
  std::vector<char> buffer;
  std::size_t scanFrom = 0;  // start of the bytes not yet handed out
  std::size_t filled = 0;    // bytes of buffer holding data
  bool atEnd = false;
  const char* lineBegin = nullptr;
  const char* lineEnd = nullptr;
  std::uint64_t lineNumber = 0;
  std::string failure;
};

#endif  // IMPORTER_INPUT_LINES_H_
