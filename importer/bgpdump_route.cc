#include "importer/bgpdump_route.h"

#include <algorithm>

namespace {

constexpr int kPrefixField = 5;
constexpr int kPathField = 6;
// The largest field index read: the path of a line with a path identifier.
constexpr int kLastField = kPathField + 1;

// Decimal digits only, at most max; false for an empty token.
bool parseBoundedDecimal(std::string_view digits, std::uint64_t max, std::uint64_t& value) {
  if (digits.empty()) {
    return false;
  }
  value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') {
      return false;
    }
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > max) {
      return false;
    }
  }
  return true;
}

// "a.b.c.d/len" with four octets up to 255 and a length up to 32.
bool parsePrefix(std::string_view text, std::uint32_t& network, int& length) {
  const std::size_t slash = text.find('/');
  if (slash == std::string_view::npos) {
    return false;
  }
  std::string_view address = text.substr(0, slash);
  std::uint32_t value = 0;
  for (int octet = 0; octet < 4; ++octet) {
    const std::size_t dot = octet < 3 ? address.find('.') : address.size();
    if (dot == std::string_view::npos) {
      return false;
    }
    std::uint64_t byte = 0;
    if (!parseBoundedDecimal(address.substr(0, dot), 255, byte)) {
      return false;
    }
    value = (value << 8) | static_cast<std::uint32_t>(byte);
    address.remove_prefix(octet < 3 ? dot + 1 : dot);
  }
  std::uint64_t bits = 0;
  if (!parseBoundedDecimal(text.substr(slash + 1), 32, bits)) {
    return false;
  }
  length = static_cast<int>(bits);
  // A shift by 32 is undefined, hence the special case of /0.
  const std::uint32_t mask = length == 0 ? 0 : ~std::uint32_t{0} << (32 - length);
  network = value & mask;
  return true;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool endsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

}  // namespace

// Real paths are short, and for them a quadratic look beats sorting a copy; a
// long path (only hostile input has one) is sorted so that it cannot stall.
bool hasPathLoop(const std::vector<std::uint32_t>& path) {
  if (path.size() > 64) {
    std::vector<std::uint32_t> sorted(path);
    std::sort(sorted.begin(), sorted.end());
    return std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end();
  }
  for (std::size_t i = 0; i < path.size(); ++i) {
    for (std::size_t j = i + 2; j < path.size(); ++j) {
      if (path[i] == path[j]) {
        return true;
      }
    }
  }
  return false;
}

bool parseAsNumber(std::string_view token, std::uint32_t& number) {
  std::uint64_t value = 0;
  const std::size_t dot = token.find('.');
  if (dot == std::string_view::npos) {
    if (!parseBoundedDecimal(token, 0xFFFFFFFFULL, value)) {
      return false;
    }
    number = static_cast<std::uint32_t>(value);
    return true;
  }
  std::uint64_t low = 0;
  if (!parseBoundedDecimal(token.substr(0, dot), 65535, value) ||
      !parseBoundedDecimal(token.substr(dot + 1), 65535, low)) {
    return false;
  }
  number = static_cast<std::uint32_t>(value * 65536 + low);
  return true;
}

RouteVerdict parseBgpdumpLine(std::string_view line, BgpdumpRoute& route, bool announcements) {
  std::string_view fields[kLastField + 1];
  int found = 0;
  std::string_view rest = line;
  while (found <= kLastField) {
    const std::size_t bar = rest.find('|');
    fields[found++] = rest.substr(0, bar);
    if (bar == std::string_view::npos) {
      break;
    }
    rest.remove_prefix(bar + 1);
  }
  if (found < 3 || (fields[2] != "B" && !(announcements && fields[2] == "A"))) {
    return RouteVerdict::notTableEntry;
  }
  // bgpdump names the records with path identifiers TABLE_DUMP2_AP and
  // BGP4MP_AP, and prints the identifier before the path.
  const int pathField = endsWith(fields[0], "_AP") ? kPathField + 1 : kPathField;
  if (found > kPrefixField && fields[kPrefixField].find(':') != std::string_view::npos) {
    return RouteVerdict::notIPv4;
  }
  if (found <= pathField || !parsePrefix(fields[kPrefixField], route.network, route.length)) {
    return RouteVerdict::badPrefix;
  }

  route.path.clear();
  route.cutAtAsSet = false;
  std::string_view path = fields[pathField];
  for (;;) {
    while (!path.empty() && isBlank(path.front())) {
      path.remove_prefix(1);
    }
    if (path.empty()) {
      break;
    }
    std::size_t end = 0;
    while (end < path.size() && !isBlank(path[end])) {
      ++end;
    }
    const std::string_view token = path.substr(0, end);
    path.remove_prefix(end);
    if (token.front() == '{') {
      route.cutAtAsSet = true;
      break;
    }
    std::uint32_t number = 0;
    if (!parseAsNumber(token, number)) {
      return RouteVerdict::badAsNumber;
    }
    if (route.path.empty() || route.path.back() != number) {
      route.path.push_back(number);
    }
  }
  return hasPathLoop(route.path) ? RouteVerdict::pathLoop : RouteVerdict::route;
}
