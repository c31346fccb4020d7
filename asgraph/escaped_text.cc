#include "asgraph/escaped_text.h"

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
