#ifndef IMPORTER_SHOWN_NAME_H_
#define IMPORTER_SHOWN_NAME_H_

#include <string>

// File names and arguments that a message shows come from the user and may
// hold control bytes: they are escaped as the input text in reasons is (see
// asgraph/escaped_text.h), whole, never cut.
std::string shownName(const std::string& text);

// The same between `quotes'.
std::string quotedName(const std::string& text);

#endif  // IMPORTER_SHOWN_NAME_H_
