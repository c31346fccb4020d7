#include "table/svg_text.h"

#include <cstddef>

#include "table/row_writer.h"

namespace {

// Wider than the average character of DejaVu Sans, Arial and Helvetica (digits included), in
// units of the font size.
constexpr double kCharacterWidth = 0.64;

}  // namespace

std::string xmlText(const std::string& bytes) {
  const std::string valid = validUtf8(bytes.data(), bytes.size());
  std::string out;
  for (const char c : valid) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') {
          out += "\xEF\xBF\xBD";
        } else {
          out += c;
        }
    }
  }
  return out;
}

double textWidth(const std::string& text, double fontSize) {
  const std::string valid = validUtf8(text.data(), text.size());
  std::size_t characters = 0;
  for (const char c : valid) {
    characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  }
  return static_cast<double>(characters) * kCharacterWidth * fontSize;
}
