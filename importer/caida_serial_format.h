#ifndef IMPORTER_CAIDA_SERIAL_FORMAT_H_
#define IMPORTER_CAIDA_SERIAL_FORMAT_H_

#include <string>

#include "importer/link_fields.h"

// CAIDA AS Relationships data lines. Serial-1: `A|B|-1' (A is B's provider)
// or `A|B|0' (A and B are peers). Serial-2 adds a fourth field naming where
// the link was inferred from (`bgp', `mlp', ...), which is not kept. Other
// integer codes are links of unknown type. false: reason says what is wrong.
bool parseSerial1Link(const char* begin, const char* end, ParsedLink& link, std::string& reason);
bool parseSerial2Link(const char* begin, const char* end, ParsedLink& link, std::string& reason);

#endif  // IMPORTER_CAIDA_SERIAL_FORMAT_H_
