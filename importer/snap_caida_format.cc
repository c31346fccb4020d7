#include "importer/snap_caida_format.h"

bool parseSnapCaidaLink(const char* begin, const char* end, ParsedLink& link, std::string& reason) {
  Field fields[3];
  const std::size_t count = splitFields(begin, end, '\t', fields, 3);
  if (count != 3) {
    reason = "expected 3 tab-separated fields, found " + std::to_string(count);
    return false;
  }
  long code = 0;
  if (!parseCodedLink(fields, link, code, reason)) {
    return false;
  }
  link.unknownCode = code < -1 || code > 2;
  switch (code) {
    case 1:
      link.relationship = Relationship::kProviderOf;
      break;
    case -1:
      link.relationship = Relationship::kCustomerOf;
      break;
    case 0:
      link.relationship = Relationship::kPeering;
      break;
    default:
      link.relationship = Relationship::kUnoriented;
      break;
  }
  return true;
}
