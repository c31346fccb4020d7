#ifndef TESTS_IMPORTER_MRT_RECORDS_H_
#define TESTS_IMPORTER_MRT_RECORDS_H_

// MRT records (RFC 6396) built byte by byte, for the cases that the shared
// files do not reach: 2-byte AS paths with AS4_PATH, AS_TRANS, confederation
// segments, truncated records.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace mrt_records {

inline std::string be(std::uint64_t value, int bytes) {
  std::string out;
  for (int i = bytes - 1; i >= 0; --i) {
    out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
  return out;
}

inline std::string record(int type, int subtype, const std::string& body) {
  return be(1000, 4) + be(static_cast<std::uint64_t>(type), 2) +
         be(static_cast<std::uint64_t>(subtype), 2) + be(body.size(), 4) + body;
}

inline std::string attribute(int flags, int code, const std::string& value) {
  if (value.size() > 255) {
    return be(static_cast<std::uint64_t>(flags | 0x10), 1) +
           be(static_cast<std::uint64_t>(code), 1) + be(value.size(), 2) + value;
  }
  return be(static_cast<std::uint64_t>(flags), 1) + be(static_cast<std::uint64_t>(code), 1) +
         be(value.size(), 1) + value;
}

// Segments as (type, AS numbers): 1 set, 2 sequence, 3 confederation sequence, 4 confederation set.
using Segments = std::vector<std::pair<int, std::vector<std::uint32_t>>>;

inline std::string segments(const Segments& path, int asBytes) {
  std::string out;
  for (const auto& segment : path) {
    out += be(static_cast<std::uint64_t>(segment.first), 1) + be(segment.second.size(), 1);
    for (const std::uint32_t as : segment.second) {
      out += be(as, asBytes);
    }
  }
  return out;
}

inline std::string asPath(const Segments& path, int asBytes) {
  return attribute(0x40, 2, segments(path, asBytes));
}
inline std::string as4Path(const Segments& path) { return attribute(0xC0, 17, segments(path, 4)); }
inline std::string origin() { return attribute(0x40, 1, std::string(1, '\0')); }
inline std::string nextHop() { return attribute(0x40, 3, be(0x01020304, 4)); }

inline std::string prefix(std::uint32_t network, int length) {
  const int bytes = (length + 7) / 8;
  return be(static_cast<std::uint64_t>(length), 1) +
         (bytes == 0 ? std::string() : be(network >> (32 - 8 * bytes), bytes));
}

// A BGP4MP MESSAGE (2-byte ASes) or MESSAGE_AS4 carrying an UPDATE with one IPv4 NLRI.
inline std::string update(const std::string& attributes, std::uint32_t network, int length,
                          int asBytes) {
  const std::string body =
      be(0, 2) + be(attributes.size(), 2) + attributes + prefix(network, length);
  const std::string message = std::string(16, '\xFF') + be(19 + body.size(), 2) + be(2, 1) + body;
  const std::string peers = be(100, asBytes) + be(200, asBytes) + be(0, 2) + be(1, 2) +
                            be(0x0A000001, 4) + be(0x0A000002, 4);
  return record(16, asBytes == 4 ? 4 : 1, peers + message);
}

// A PEER_INDEX_TABLE of peers with 4-byte AS numbers and IPv4 addresses.
inline std::string peerIndexTable(int peers) {
  std::string body = be(0, 4) + be(0, 2) + be(static_cast<std::uint64_t>(peers), 2);
  for (int i = 0; i < peers; ++i) {
    body +=
        be(2, 1) + be(static_cast<std::uint64_t>(i), 4) + be(0x0A000000u + i, 4) + be(100u + i, 4);
  }
  return record(13, 1, body);
}

// A RIB_IPV4_UNICAST record: one entry per attribute set, peer i for the i-th.
inline std::string ribIPv4(std::uint32_t network, int length,
                           const std::vector<std::string>& entries) {
  std::string body = be(0, 4) + prefix(network, length) + be(entries.size(), 2);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    body += be(i, 2) + be(1000, 4) + be(entries[i].size(), 2) + entries[i];
  }
  return record(13, 2, body);
}

// A TABLE_DUMP (version 1) IPv4 entry: 2-byte AS numbers.
inline std::string tableDumpIPv4(std::uint32_t network, int length, const std::string& attributes) {
  return record(12, 1,
                be(0, 2) + be(0, 2) + be(network, 4) + be(static_cast<std::uint64_t>(length), 1) +
                    be(1, 1) + be(1000, 4) + be(0x0A000001, 4) + be(100, 2) +
                    be(attributes.size(), 2) + attributes);
}

}  // namespace mrt_records

#endif  // TESTS_IMPORTER_MRT_RECORDS_H_
