#include "text/copied_string.h"

#include <cstring>

char* copyString(const char* text, std::size_t length) {
  char* copy = new char[length + 1];
  std::memcpy(copy, text, length);
  copy[length] = '\0';
  return copy;
}

char* copyString(const char* text) { return copyString(text, std::strlen(text)); }
