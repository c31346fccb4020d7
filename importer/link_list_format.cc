#include "importer/link_list_format.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

bool parseLinkListLink(const char* begin, const char* end, ParsedLink& link, std::string& reason) {
  // Fields are the runs between blanks, tabs and commas; the gap between the
  // two fields may hold one comma, and no comma may stand anywhere else.
  Field fields[2];
  std::size_t count = 0;
  int commasBetween = 0;
  bool misplacedComma = false;
  const char* p = begin;
  while (p != end) {
    if (isBlank(*p)) {
      ++p;
      continue;
    }
    if (*p == ',') {
      if (count == 1) {
        ++commasBetween;
      } else {
        misplacedComma = true;
      }
      ++p;
      continue;
    }
    const char* start = p;
    while (p != end && !isBlank(*p) && *p != ',') {
      ++p;
    }
    if (count < 2) {
      fields[count] = Field{start, p};
    }
    ++count;
  }
  if (count != 2 || commasBetween > 1 || misplacedComma) {
    reason = "expected two AS numbers separated by blanks, tabs or one comma";
    return false;
  }
  if (!parseAsNumber(fields[0], link.first, reason) ||
      !parseAsNumber(fields[1], link.second, reason)) {
    return false;
  }
  link.relationship = Relationship::kUnoriented;
  link.unknownCode = false;
  return true;
}
