#ifndef IMPORTER_LINK_FIELDS_H_
#define IMPORTER_LINK_FIELDS_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "importer/relationship.h"

// One link as a data line states it, before any range check: the two AS
// numbers as written and the relationship seen from the first.
struct ParsedLink {
  std::uint32_t first = 0;
  std::uint32_t second = 0;
  Relationship relationship = Relationship::kUnoriented;
  // The line's relationship code is an integer that the format does not
  // define; the link is then unoriented.
  bool unknownCode = false;
};

// A piece [begin, end) of a line.
struct Field {
  const char* begin;
  const char* end;
};

// Splits [begin, end) at every separator byte into fields (empty ones
// included), stores up to capacity of them and returns how many there are.
std::size_t splitFields(const char* begin, const char* end, char separator, Field* fields,
                        std::size_t capacity);

// A plain decimal AS number, digits only, up to 4294967295 (0 included: the
// caller decides what is in range). false: reason names the field.
bool parseAsNumber(Field field, std::uint32_t& value, std::string& reason);

// A relationship code: an optional minus sign and up to nine digits. false:
// reason names the field.
bool parseRelationshipCode(Field field, long& code, std::string& reason);

// The three leading fields of a relationship line: two AS numbers into link
// and the relationship code into code. false: reason names the bad field.
bool parseCodedLink(const Field* fields, ParsedLink& link, long& code, std::string& reason);

// The text between a backquote and a quote, for messages: bytes below 0x20
// other than TAB, and 0x7F, are written as \xHH so that no control byte of
// the input reaches a terminal; a long text is cut and ends in "...".
std::string quoted(const char* begin, const char* end);

#endif  // IMPORTER_LINK_FIELDS_H_
