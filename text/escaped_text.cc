#include "text/escaped_text.h"

#include <cstring>

char* writeEscaped(const char* text, std::size_t length, char* out) {
  static const char kHexDigits[] = "0123456789abcdef";
  for (std::size_t i = 0; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte < 0x20 && byte != '\t') || byte == 0x7f) {
      *out++ = '\\';
      *out++ = 'x';
      *out++ = kHexDigits[byte >> 4];
      *out++ = kHexDigits[byte & 0xf];
    } else {
      *out++ = static_cast<char>(byte);
    }
  }
  return out;
}

std::string escaped(const char* text) {
  const std::size_t length = std::strlen(text);
  std::string result(4 * length, '\0');
  char* end = writeEscaped(text, length, &result[0]);
  result.resize(static_cast<std::size_t>(end - result.data()));
  return result;
}
