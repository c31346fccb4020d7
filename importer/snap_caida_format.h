#ifndef IMPORTER_SNAP_CAIDA_FORMAT_H_
#define IMPORTER_SNAP_CAIDA_FORMAT_H_

#include <string>

#include "importer/link_fields.h"

// SNAP as-caida data lines: `FROM<TAB>TO<TAB>code', with code 1 when FROM is
// TO's provider, -1 when FROM is TO's customer, 0 for peers and 2 for
// siblings (unoriented). Every link is listed from both ends. Other integer
// codes are links of unknown type. false: reason says what is wrong.
bool parseSnapCaidaLink(const char* begin, const char* end, ParsedLink& link, std::string& reason);

#endif  // IMPORTER_SNAP_CAIDA_FORMAT_H_
