#include "importer/caida_serial_format.h"

namespace {

bool parseSerialLink(const char* begin, const char* end, std::size_t expectedFields,
                     ParsedLink& link, std::string& reason) {
  Field fields[4];
  const std::size_t count = splitFields(begin, end, '|', fields, 4);
  if (count != expectedFields) {
    reason = "expected " + std::to_string(expectedFields) + " fields separated by `|', found " +
             std::to_string(count);
    return false;
  }
  long code = 0;
  if (!parseCodedLink(fields, link, code, reason)) {
    return false;
  }
  link.unknownCode = code != -1 && code != 0;
  link.relationship = code == -1  ? Relationship::kProviderOf
                      : code == 0 ? Relationship::kPeering
                                  : Relationship::kUnoriented;
  return true;
}

}  // namespace

bool parseSerial1Link(const char* begin, const char* end, ParsedLink& link, std::string& reason) {
  return parseSerialLink(begin, end, 3, link, reason);
}

bool parseSerial2Link(const char* begin, const char* end, ParsedLink& link, std::string& reason) {
  return parseSerialLink(begin, end, 4, link, reason);
}
