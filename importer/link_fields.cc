#include "importer/link_fields.h"

#include "text/escaped_text.h"

namespace {
constexpr std::size_t kMaxQuotedBytes = 80;
}  // namespace

std::size_t splitFields(const char* begin, const char* end, char separator, Field* fields,
                        std::size_t capacity) {
  std::size_t count = 0;
  const char* start = begin;
  for (const char* p = begin;; ++p) {
    if (p == end || *p == separator) {
      if (count < capacity) {
        fields[count] = Field{start, p};
      }
      ++count;
      if (p == end) {
        return count;
      }
      start = p + 1;
    }
  }
}

bool parseAsNumber(Field field, std::uint32_t& value, std::string& reason) {
  const std::size_t length = static_cast<std::size_t>(field.end - field.begin);
  std::uint64_t number = 0;
  bool digitsOnly = length > 0 && length <= 10;
  for (const char* p = field.begin; digitsOnly && p != field.end; ++p) {
    digitsOnly = *p >= '0' && *p <= '9';
    number = number * 10 + static_cast<std::uint64_t>(*p - '0');
  }
  if (!digitsOnly || number > 0xffffffffULL) {
    reason = "invalid AS number " + quoted(field.begin, field.end);
    return false;
  }
  value = static_cast<std::uint32_t>(number);
  return true;
}

bool parseRelationshipCode(Field field, long& code, std::string& reason) {
  const char* p = field.begin;
  const bool negative = p != field.end && *p == '-';
  if (negative) {
    ++p;
  }
  const std::size_t digits = static_cast<std::size_t>(field.end - p);
  bool valid = digits > 0 && digits <= 9;
  long number = 0;
  for (; valid && p != field.end; ++p) {
    valid = *p >= '0' && *p <= '9';
    number = number * 10 + (*p - '0');
  }
  if (!valid) {
    reason = "invalid relationship " + quoted(field.begin, field.end);
    return false;
  }
  code = negative ? -number : number;
  return true;
}

bool parseCodedLink(const Field* fields, ParsedLink& link, long& code, std::string& reason) {
  return parseAsNumber(fields[0], link.first, reason) &&
         parseAsNumber(fields[1], link.second, reason) &&
         parseRelationshipCode(fields[2], code, reason);
}

std::string quoted(const char* begin, const char* end) {
  std::string text = "`";
  const bool cut = static_cast<std::size_t>(end - begin) > kMaxQuotedBytes;
  if (cut) {
    end = begin + kMaxQuotedBytes;
  }
  const std::size_t length = static_cast<std::size_t>(end - begin);
  const std::size_t start = text.size();
  text.resize(start + 4 * length);
  char* written = writeEscaped(begin, length, &text[start]);
  text.resize(static_cast<std::size_t>(written - text.data()));
  if (cut) {
    text += "...";
  }
  return text + "'";
}
