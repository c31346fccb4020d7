#ifndef IMPORTER_MRT_READER_H_
#define IMPORTER_MRT_READER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "importer/bgpdump_route.h"
#include "importer/mrt_as_path.h"

class DecodedInput;
class RibGraphBuilder;

// Reads MRT routing data (RFC 6396) into a routing-table graph: every table
// entry and, if the builder takes them, every UPDATE announcement becomes an
// entry classified as the line that `bgpdump -m` prints for it would be, so
// MRT input and its text are one table to the builder. Records of types that
// hold no routes read here are skipped and counted.
class MrtReader {
 public:
  explicit MrtReader(RibGraphBuilder& routes) : routes(routes) {}

  // Whether the first bytes of an input are an MRT record header of a known
  // type: text never holds its zero bytes.
  static bool looksLikeMrt(const unsigned char* bytes, std::size_t count);

  // Reads every record of input. false: a record is truncated or
  // inconsistent, or the input failed; reason then says "record N at byte
  // OFFSET: why" (N counted from 1, OFFSET the record's first byte in the
  // decoded input).
  bool read(DecodedInput& input, std::string& reason);

 private:
  struct Span {
    const unsigned char* data;
    std::size_t size;
  };

  // Decoded bytes of the input from begin to filled; false on a read failure.
  bool ensure(DecodedInput& input, std::size_t wanted, std::string& why);
  bool record(std::uint16_t type, std::uint16_t subtype, Span body, std::string& why);
  bool tableDump(std::uint16_t subtype, Span body, std::string& why);
  bool peerIndexTable(Span body, std::string& why);
  bool ribRecord(std::uint16_t subtype, Span body, std::string& why);
  bool bgp4mp(std::uint16_t subtype, Span body, std::string& why);
  bool update(Span message, int asBytes, bool addPath, std::string& why);
  // Walks a route's attributes, leaving its AS path in path (AS4_PATH merged
  // where asBytes is 2) and, when reach is given, the MP_REACH_NLRI and
  // MP_UNREACH_NLRI values in reach[0] and reach[1].
  bool attributes(Span data, int asBytes, Span* reach, std::string& why);
  // The prefixes of an NLRI field of the address family (1 IPv4, 2 IPv6),
  // each an entry of verdict kind when it is an IPv4 route (classified by
  // its path) or counted as the line bgpdump prints otherwise.
  bool prefixes(Span nlri, int family, bool addPath, bool announced, std::string& why);
  void addTableEntry(int family, std::uint32_t network, int length);

  RibGraphBuilder& routes;
  std::vector<unsigned char> buffer;
  std::size_t begin = 0;
  std::size_t filled = 0;
  bool atEnd = false;
  long peerCount = -1;  // of the last PEER_INDEX_TABLE; -1: none yet
  MrtAsPath path;
  MrtAsPath as4Path;
  RouteVerdict pathVerdict = RouteVerdict::route;
  BgpdumpRoute route;
};

#endif  // IMPORTER_MRT_READER_H_
