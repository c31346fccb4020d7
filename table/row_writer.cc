#include "table/row_writer.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <utility>

#include "fileio/failure_errno.h"

namespace {

constexpr std::size_t kBlock = 1 << 16;
constexpr char kReplacement[] = "\xEF\xBF\xBD";

// Length of the well-formed UTF-8 sequence at bytes[0], or of its longest well-formed start
// (at least 1) negated when it is ill-formed: the Unicode way of cutting ill-formed input into
// maximal subparts, each of which becomes one U+FFFD.
long sequenceLength(const unsigned char* bytes, std::size_t available) {
  const unsigned char lead = bytes[0];
  if (lead < 0x80) {
    return 1;
  }
  std::size_t need = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 3;
    low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
    high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 4;
    low = lead == 0xF0 ? 0x90 : 0x80;
    high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing above U+10FFFF
  } else {
    return -1;
  }
  std::size_t at = 1;
  for (; at < need && at < available; ++at) {
    const unsigned char c = bytes[at];
    if (at == 1 ? (c < low || c > high) : (c < 0x80 || c > 0xBF)) {
      break;
    }
  }
  return at == need ? static_cast<long>(need) : -static_cast<long>(at);
}

// Appends the sequence at bytes[0], or U+FFFD for its ill-formed start; returns the bytes taken.
std::size_t appendSequence(std::string& out, const unsigned char* bytes, std::size_t available) {
  const long n = sequenceLength(bytes, available);
  if (n > 0) {
    out.append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(n));
    return static_cast<std::size_t>(n);
  }
  out += kReplacement;
  return static_cast<std::size_t>(-n);
}

// "00" to "99", the two digits of each value below 100: one division makes two digits.
struct DigitPairs {
  char text[200];
  constexpr DigitPairs() : text() {
    for (int i = 0; i < 100; ++i) {
      text[2 * i] = static_cast<char>('0' + i / 10);
      text[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
  }
};
constexpr DigitPairs kDigitPairs;

// Writes value in decimal at text (room for 20 characters); returns how many it wrote.
std::size_t formatDecimal(std::uint64_t value, char* text) {
  std::size_t count = 1;
  for (std::uint64_t bound = 10; count < 20 && value >= bound; bound *= 10) {
    ++count;
  }
  char* at = text + count;
  while (value >= 100) {
    const std::size_t pair = static_cast<std::size_t>(value % 100) * 2;
    value /= 100;
    at -= 2;
    at[0] = kDigitPairs.text[pair];
    at[1] = kDigitPairs.text[pair + 1];
  }
  if (value >= 10) {
    at -= 2;
    at[0] = kDigitPairs.text[value * 2];
    at[1] = kDigitPairs.text[value * 2 + 1];
  } else {
    *--at = static_cast<char>('0' + value);
  }
  return count;
}

bool needsCsvQuotes(const char* bytes, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) {
    const char c = bytes[i];
    if (c == ',' || c == '"' || c == '\n' || c == '\r') {
      return true;
    }
  }
  return false;
}

void appendJsonString(std::string& out, const char* bytes, std::size_t length) {
  static const char kHex[] = "0123456789abcdef";
  out += '"';
  const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes);
  std::size_t i = 0;
  while (i < length) {
    const unsigned char c = p[i];
    if (c < 0x80) {
      switch (c) {
        case '"':
          out += "\\\"";
          break;
        case '\\':
          out += "\\\\";
          break;
        case '\n':
          out += "\\n";
          break;
        case '\r':
          out += "\\r";
          break;
        case '\t':
          out += "\\t";
          break;
        default:
          if (c < 0x20 || c == 0x7F) {
            const char escape[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
            out.append(escape, sizeof escape);
          } else {
            out += static_cast<char>(c);
          }
      }
      ++i;
      continue;
    }
    i += appendSequence(out, p + i, length - i);
  }
  out += '"';
}

}  // namespace

std::string validUtf8(const char* bytes, std::size_t length) {
  std::string out;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes);
  std::size_t i = 0;
  while (i < length) {
    i += appendSequence(out, p + i, length - i);
  }
  return out;
}

std::string csvField(const char* bytes, std::size_t length) {
  if (!needsCsvQuotes(bytes, length)) {
    return std::string(bytes, length);
  }
  std::string out = "\"";
  for (std::size_t i = 0; i < length; ++i) {
    if (bytes[i] == '"') {
      out += '"';
    }
    out += bytes[i];
  }
  out += '"';
  return out;
}

std::string jsonString(const char* bytes, std::size_t length) {
  std::string out;
  appendJsonString(out, bytes, length);
  return out;
}

RowWriter::RowWriter(FILE* out, TableFormat format, std::vector<std::string> columnNames)
    : out(out), format(format), columns(std::move(columnNames)) {
  for (std::size_t i = 0; i < columns.size(); ++i) {
    std::string key = i == 0 ? "{" : ",";
    appendJsonString(key, columns[i].data(), columns[i].size());
    key += ':';
    jsonKeys.push_back(key);
  }
  buffer.resize(2 * kBlock);
}

void RowWriter::header() {
  if (format != TableFormat::kCsv) {
    return;
  }
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (i > 0) {
      append(',');
    }
    append(csvField(columns[i].data(), columns[i].size()));
  }
  append('\n');
}

void RowWriter::startCell() {
  if (format == TableFormat::kCsv) {
    if (cell > 0) {
      append(',');
    }
  } else {
    append(jsonKeys[cell]);
  }
  ++cell;
}

void RowWriter::text(const char* bytes, std::size_t length) {
  startCell();
  if (format == TableFormat::kCsv) {
    if (needsCsvQuotes(bytes, length)) {
      append(csvField(bytes, length));
    } else {
      append(bytes, length);
    }
  } else {
    append(jsonString(bytes, length));
  }
}

void RowWriter::word(const char* value) {
  startCell();
  if (format == TableFormat::kJsonLines) {
    append('"');
    append(value, std::strlen(value));
    append('"');
  } else {
    append(value, std::strlen(value));
  }
}

void RowWriter::empty() {
  startCell();
  if (format == TableFormat::kJsonLines) {
    append("null", 4);
  }
}

std::string RowWriter::encodedText(const std::string& value) const {
  return format == TableFormat::kCsv ? csvField(value.data(), value.size())
                                     : jsonString(value.data(), value.size());
}

std::string RowWriter::encodedEmpty() const {
  return format == TableFormat::kCsv ? std::string() : std::string("null");
}

void RowWriter::encoded(const std::string& cell) {
  startCell();
  append(cell);
}

void RowWriter::number(std::uint64_t value) {
  startCell();
  take(formatDecimal(value, room(20)));
}

void RowWriter::signedNumber(std::int64_t value) {
  startCell();
  char* at = room(21);
  std::size_t sign = 0;
  if (value < 0) {
    *at = '-';
    sign = 1;
  }
  // The magnitude as unsigned: -INT64_MIN does not fit the signed type.
  const std::uint64_t magnitude =
      value < 0 ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
  take(sign + formatDecimal(magnitude, at + sign));
}

void RowWriter::real(float value) {
  startCell();
  // JSON has no spelling for infinities and NaN.
  if (format == TableFormat::kJsonLines && !std::isfinite(value)) {
    append("null", 4);
    return;
  }
  char text[64];
  const int length = std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
  append(text, static_cast<std::size_t>(length));
}

void RowWriter::endRow() {
  if (format == TableFormat::kJsonLines) {
    append('}');
  }
  append('\n');
  cell = 0;
  if (used >= kBlock && !holding) {
    drain();
  }
}

char* RowWriter::room(std::size_t n) {
  if (used + n > buffer.size()) {
    buffer.resize(std::max(2 * buffer.size(), used + n));
  }
  return buffer.data() + used;
}

void RowWriter::append(const char* bytes, std::size_t length) {
  std::memcpy(room(length), bytes, length);
  used += length;
}

void RowWriter::drain() {
  if (error == 0 && used > 0) {
    errno = 0;
    if (std::fwrite(buffer.data(), 1, used, out) != used || std::ferror(out)) {
      error = failureErrno();
    }
  }
  used = 0;
}

bool RowWriter::finish() {
  drain();
  if (error == 0) {
    errno = 0;
    if (std::fflush(out) != 0 || std::ferror(out)) {
      error = failureErrno();
    }
  }
  return error == 0;
}
