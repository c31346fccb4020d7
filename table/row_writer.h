#ifndef TABLE_ROW_WRITER_H_
#define TABLE_ROW_WRITER_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// How rows are written: CSV with a header row, or JSON Lines.
enum class TableFormat { kCsv, kJsonLines };

// Writes a table row by row to a stream, cell by cell in column order.
//
// CSV: a header row of the column names, commas between cells, a line feed after each row; a
// text cell is quoted (its double quotes doubled) only when it holds a comma, a double quote, a
// carriage return or a line feed. JSON Lines: one object per row whose keys are the column
// names, numbers as JSON numbers, texts as JSON strings in which bytes that do not form UTF-8
// become U+FFFD.
//
// Rows are gathered in a buffer and handed to the stream in large blocks; the first failed
// write is kept, and every later write is skipped. ok() and the errno value in error() tell.
class RowWriter {
 public:
  RowWriter(FILE* out, TableFormat format, std::vector<std::string> columns);
  RowWriter(const RowWriter&) = delete;
  RowWriter& operator=(const RowWriter&) = delete;

  // The CSV header; nothing for JSON Lines. Call once, before the first row.
  void header();
  // Keeps every row in memory until finish(), so that a run that fails half way writes nothing.
  void holdRows() { holding = true; }

  void text(const char* bytes, std::size_t length);
  void text(const std::string& value) { text(value.data(), value.size()); }
  // A text that needs neither quoting nor escaping (a fixed word of the program's own).
  void word(const char* value);
  void number(std::uint64_t value);
  void signedNumber(std::int64_t value);
  // No value: an empty CSV field, JSON null.
  void empty();
  // A cell that many rows repeat (a graph's name and date on each of its rows), encoded once by
  // encodedText or encodedEmpty and then written by encoded() as text() or empty() would.
  std::string encodedText(const std::string& value) const;
  std::string encodedEmpty() const;
  void encoded(const std::string& cell);
  // Six digits after the point, as graph files write an orientation stability.
  void real(float value);
  void endRow();

  // Hands what is buffered to the stream and flushes it; false when any write failed.
  bool finish();
  bool ok() const { return error == 0; }
  // errno of the first failed write; 0 while none has.
  int writeError() const { return error; }

 private:
  void startCell();
  // Room for n more bytes at the end of the buffer; take() then counts those written.
  char* room(std::size_t n);
  void take(std::size_t n) { used += n; }
  void append(const char* bytes, std::size_t length);
  void append(const std::string& text) { append(text.data(), text.size()); }
  void append(char c) {
    *room(1) = c;
    ++used;
  }
  void drain();

  FILE* out;
  TableFormat format;
  std::vector<std::string> columns;
  // Per column, what goes before its value in JSON Lines: `{"name":` or `,"name":`.
  std::vector<std::string> jsonKeys;
  std::size_t cell = 0;
  // Rows not yet handed to the stream: the first used bytes of buffer.
  std::vector<char> buffer;
  std::size_t used = 0;
  int error = 0;
  bool holding = false;
};

// The CSV field for a text: as it is, or quoted with its double quotes doubled.
std::string csvField(const char* bytes, std::size_t length);
// The JSON string for a text, quotes included: invalid UTF-8 as U+FFFD, control characters,
// double quote and backslash escaped.
std::string jsonString(const char* bytes, std::size_t length);
// bytes with every maximal ill-formed UTF-8 subsequence replaced by U+FFFD (EF BF BD).
std::string validUtf8(const char* bytes, std::size_t length);

#endif  // TABLE_ROW_WRITER_H_
