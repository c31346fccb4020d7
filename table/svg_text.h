#ifndef TABLE_SVG_TEXT_H_
#define TABLE_SVG_TEXT_H_

#include <string>

// Text for XML character data and attribute values: valid UTF-8, the markup characters as
// entities, and the control characters XML 1.0 forbids as U+FFFD.
std::string xmlText(const std::string& bytes);

// The width a sans-serif text of fontSize takes at most, estimated generously from its
// characters, so that labels placed this far apart never meet in any common font.
double textWidth(const std::string& text, double fontSize);

#endif  // TABLE_SVG_TEXT_H_
