#ifndef IMPORTER_LINK_LIST_FORMAT_H_
#define IMPORTER_LINK_LIST_FORMAT_H_

#include <string>

#include "importer/link_fields.h"

// Plain link list lines: two AS numbers separated by blanks, tabs or one
// comma (with or without blanks around it); blanks and tabs at either end
// are allowed. Every link is unoriented. false: reason says what is wrong.
bool parseLinkListLink(const char* begin, const char* end, ParsedLink& link, std::string& reason);

#endif  // IMPORTER_LINK_LIST_FORMAT_H_
