#ifndef IMPORTER_BGPDUMP_ROUTE_H_
#define IMPORTER_BGPDUMP_ROUTE_H_

#include <cstdint>
#include <string_view>
#include <vector>

// One line of a routing table as `bgpdump -m` prints it, fields separated by
// '|': TABLE_DUMP|time|B|peer address|peer AS|prefix|AS path|origin|...
// (TABLE_DUMP2 the same). Records with path identifiers (TABLE_DUMP2_AP,
// BGP4MP_AP) hold the identifier between the prefix and the AS path.

// What became of a line.
enum class RouteVerdict {
  route,          // a usable IPv4 route
  notTableEntry,  // the third field is not "B" ("A" too if announcements are routes)
  notIPv4,        // the prefix contains ':'
  badPrefix,      // a table entry without the path field or with no IPv4 prefix
  badAsNumber,    // a path token (before any AS set) that is not an AS number
  pathLoop,       // after prepending is collapsed, an AS number reappears
};

struct BgpdumpRoute {
  std::uint32_t network = 0;  // the prefix's network: host bits cleared
  int length = 0;             // prefix length, 0 to 32
  // The AS path read from the collector's peer to the origin, ended before
  // the first AS set, with consecutive repeats collapsed. 32-bit AS numbers
  // are kept; X.Y numbers are X * 65536 + Y.
  std::vector<std::uint32_t> path;
  bool cutAtAsSet = false;  // the path held an AS set, which was left out
};

// Reads one line (without its line end) into route, reusing route.path's
// storage. route is filled in full only for RouteVerdict::route.
// announcements: UPDATE announcements ("A" lines) are routes as well.
RouteVerdict parseBgpdumpLine(std::string_view line, BgpdumpRoute& route,
                              bool announcements = false);

// Whether a number occurs twice in a path whose consecutive repeats are
// already collapsed.
bool hasPathLoop(const std::vector<std::uint32_t>& path);

// The AS number in a token: decimal (up to 4294967295) or X.Y with X and Y at
// most 65535. false for anything else.
bool parseAsNumber(std::string_view token, std::uint32_t& number);

#endif  // IMPORTER_BGPDUMP_ROUTE_H_
