#include "importer/shown_name.h"

#include "asgraph/escaped_text.h"

std::string shownName(const std::string& text) {
  std::string shown(4 * text.size(), '\0');
  char* end = writeEscaped(text.data(), text.size(), &shown[0]);
  shown.resize(static_cast<std::size_t>(end - shown.data()));
  return shown;
}

std::string quotedName(const std::string& text) { return "`" + shownName(text) + "'"; }
