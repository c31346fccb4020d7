#include "importer/mrt_reader.h"

#include <algorithm>
#include <cstring>

#include "importer/decoded_input.h"
#include "importer/rib_graph.h"

namespace {

constexpr std::size_t kHeaderSize = 12;
constexpr std::size_t kInitialBufferSize = 1 << 16;  // grows to the largest record

// Record types (RFC 6396, 4.2) and the subtypes read.
constexpr std::uint16_t kTableDump = 12;
constexpr std::uint16_t kTableDumpV2 = 13;
constexpr std::uint16_t kBgp4mp = 16;
constexpr std::uint16_t kBgp4mpEt = 17;

constexpr std::uint16_t kPeerIndexTable = 1;
constexpr std::uint16_t kRibGeneric = 6;
constexpr std::uint16_t kRibGenericAddPath = 12;

constexpr std::uint16_t kStateChange = 0;
constexpr std::uint16_t kStateChangeAs4 = 5;

constexpr int kIPv4 = 1;
constexpr int kIPv6 = 2;

// BGP path attribute type codes.
constexpr unsigned kAsPath = 2;
constexpr unsigned kAggregator = 7;
constexpr unsigned kMpReachNlri = 14;
constexpr unsigned kMpUnreachNlri = 15;
constexpr unsigned kAs4Path = 17;
constexpr unsigned kAs4Aggregator = 18;
constexpr std::uint32_t kAsTrans = 23456;

constexpr unsigned kBgpUpdate = 2;

// A bounds-checked reader of big-endian fields; every take fails rather
// than read past the end.
class Cursor {
 public:
  Cursor(const unsigned char* data, std::size_t size) : at(data), end(data + size) {}
  std::size_t left() const { return static_cast<std::size_t>(end - at); }
  const unsigned char* here() const { return at; }
  bool skip(std::size_t count) {
    if (left() < count) {
      return false;
    }
    at += count;
    return true;
  }
  bool u8(unsigned& value) {
    if (left() < 1) {
      return false;
    }
    value = *at++;
    return true;
  }
  bool u16(unsigned& value) {
    if (left() < 2) {
      return false;
    }
    value = unsigned{at[0]} << 8 | at[1];
    at += 2;
    return true;
  }
  bool u32(std::uint32_t& value) {
    if (left() < 4) {
      return false;
    }
    value =
        std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 | std::uint32_t{at[2]} << 8 | at[3];
    at += 4;
    return true;
  }

 private:
  const unsigned char* at;
  const unsigned char* end;
};

bool cut(std::string& why, const char* what) {
  why = std::string(what) + " cut by the end of the record";
  return false;
}

int addressBytes(int family) { return family == kIPv4 ? 4 : 16; }

// A prefix length and its address bytes; network gets the IPv4 network
// (host bits cleared).
bool takePrefix(Cursor& in, int family, std::uint32_t& network, int& length, std::string& why) {
  unsigned bits = 0;
  if (!in.u8(bits)) {
    return cut(why, "prefix length");
  }
  const unsigned largest = family == kIPv4 ? 32 : 128;
  if (bits > largest) {
    why = "prefix length " + std::to_string(bits) + " over " + std::to_string(largest);
    return false;
  }
  const std::size_t bytes = (bits + 7) / 8;
  const unsigned char* address = in.here();
  if (!in.skip(bytes)) {
    return cut(why, "prefix");
  }
  network = 0;
  if (family == kIPv4) {
    for (std::size_t i = 0; i < bytes; ++i) {
      network |= std::uint32_t{address[i]} << (24 - 8 * i);
    }
    network &= bits == 0 ? 0 : ~std::uint32_t{0} << (32 - bits);
  }
  length = static_cast<int>(bits);
  return true;
}

}  // namespace

bool MrtReader::looksLikeMrt(const unsigned char* bytes, std::size_t count) {
  if (count < kHeaderSize) {
    return false;
  }
  const unsigned type = unsigned{bytes[4]} << 8 | bytes[5];
  return (type >= 11 && type <= 17) || type == 32 || type == 33 || type == 48 || type == 49;
}

bool MrtReader::ensure(DecodedInput& input, std::size_t wanted, std::string& why) {
  while (filled - begin < wanted && !atEnd) {
    if (begin > 0) {
      std::memmove(buffer.data(), buffer.data() + begin, filled - begin);
      filled -= begin;
      begin = 0;
    }
    // Grow with the data that arrives, never to a length a header only claims.
    if (filled == buffer.size()) {
      buffer.resize(buffer.size() * 2);
    }
    std::size_t count = 0;
    if (!input.read(reinterpret_cast<char*>(buffer.data() + filled), buffer.size() - filled,
                    count)) {
      why = input.reason();
      return false;
    }
    filled += count;
    atEnd = count == 0;
  }
  return true;
}

bool MrtReader::read(DecodedInput& input, std::string& reason) {
  buffer.resize(kInitialBufferSize);
  begin = filled = 0;
  atEnd = false;
  peerCount = -1;
  std::uint64_t number = 1;
  std::uint64_t offset = 0;
  std::string why;
  const auto fail = [&]() {
    reason = "record " + std::to_string(number) + " at byte " + std::to_string(offset) + ": " + why;
    return false;
  };
  for (;; ++number) {
    if (!ensure(input, kHeaderSize, why)) {
      return fail();
    }
    const std::size_t available = filled - begin;
    if (available == 0) {
      return true;
    }
    if (available < kHeaderSize) {
      why = "record header cut after " + std::to_string(available) + " of 12 bytes";
      return fail();
    }
    const unsigned char* header = buffer.data() + begin;
    const unsigned type = unsigned{header[4]} << 8 | header[5];
    const unsigned subtype = unsigned{header[6]} << 8 | header[7];
    const std::uint64_t length = std::uint64_t{header[8]} << 24 | std::uint64_t{header[9]} << 16 |
                                 std::uint64_t{header[10]} << 8 | header[11];
    const std::size_t total = kHeaderSize + static_cast<std::size_t>(length);
    if (!ensure(input, total, why)) {
      return fail();
    }
    if (filled - begin < total) {
      why = "record of " + std::to_string(total) + " bytes cut after " +
            std::to_string(filled - begin) + " bytes by the end of the input";
      return fail();
    }
    ++routes.mutableCounts().mrtRecords;
    const Span body{buffer.data() + begin + kHeaderSize, static_cast<std::size_t>(length)};
    if (!record(static_cast<std::uint16_t>(type), static_cast<std::uint16_t>(subtype), body, why)) {
      return fail();
    }
    begin += total;
    offset += total;
  }
}

bool MrtReader::record(std::uint16_t type, std::uint16_t subtype, Span body, std::string& why) {
  switch (type) {
    case kTableDump:
      return tableDump(subtype, body, why);
    case kTableDumpV2:
      if (subtype == kPeerIndexTable) {
        return peerIndexTable(body, why);
      }
      if ((subtype >= 2 && subtype <= 6) || (subtype >= 8 && subtype <= 12)) {
        return ribRecord(subtype, body, why);
      }
      break;
    case kBgp4mp:
      return bgp4mp(subtype, body, why);
    case kBgp4mpEt:
      // The extended timestamp's microseconds come first.
      if (body.size < 4) {
        return cut(why, "microsecond timestamp");
      }
      return bgp4mp(subtype, Span{body.data + 4, body.size - 4}, why);
    default:
      break;
  }
  ++routes.mutableCounts().mrtRecordsSkipped;
  return true;
}

void MrtReader::addTableEntry(int family, std::uint32_t network, int length) {
  if (family != kIPv4) {
    routes.addEntry(RouteVerdict::notIPv4, route);
    return;
  }
  route.network = network;
  route.length = length;
  routes.addEntry(pathVerdict, route);
}

bool MrtReader::tableDump(std::uint16_t subtype, Span body, std::string& why) {
  if (subtype != kIPv4 && subtype != kIPv6) {
    ++routes.mutableCounts().mrtRecordsSkipped;
    return true;
  }
  const int family = subtype;
  Cursor in(body.data, body.size);
  const unsigned char* prefix = nullptr;
  unsigned bits = 0;
  unsigned attributeLength = 0;
  // View number and sequence number, then the prefix in full.
  if (!in.skip(4)) {
    return cut(why, "view and sequence numbers");
  }
  prefix = in.here();
  if (!in.skip(static_cast<std::size_t>(addressBytes(family))) || !in.u8(bits)) {
    return cut(why, "prefix");
  }
  // Status, originated time, peer address and 2-byte peer AS.
  if (!in.skip(1 + 4 + static_cast<std::size_t>(addressBytes(family)) + 2) ||
      !in.u16(attributeLength)) {
    return cut(why, "peer");
  }
  if (bits > (family == kIPv4 ? 32u : 128u)) {
    why = "prefix length " + std::to_string(bits) + " over " + (family == kIPv4 ? "32" : "128");
    return false;
  }
  if (in.left() < attributeLength) {
    return cut(why, "path attributes");
  }
  if (!attributes(Span{in.here(), attributeLength}, 2, nullptr, why)) {
    return false;
  }
  std::uint32_t network = 0;
  if (family == kIPv4) {
    network = std::uint32_t{prefix[0]} << 24 | std::uint32_t{prefix[1]} << 16 |
              std::uint32_t{prefix[2]} << 8 | prefix[3];
    network &= bits == 0 ? 0 : ~std::uint32_t{0} << (32 - bits);
  }
  addTableEntry(family, network, static_cast<int>(bits));
  return true;
}

bool MrtReader::peerIndexTable(Span body, std::string& why) {
  Cursor in(body.data, body.size);
  unsigned nameLength = 0;
  unsigned count = 0;
  if (!in.skip(4) || !in.u16(nameLength) || !in.skip(nameLength) || !in.u16(count)) {
    return cut(why, "peer index table header");
  }
  for (unsigned i = 0; i < count; ++i) {
    unsigned peerType = 0;
    if (!in.u8(peerType)) {
      return cut(why, "peer entry");
    }
    const std::size_t address = (peerType & 1) != 0 ? 16 : 4;
    const std::size_t as = (peerType & 2) != 0 ? 4 : 2;
    if (!in.skip(4 + address + as)) {
      return cut(why, "peer entry");
    }
  }
  peerCount = count;
  return true;
}

bool MrtReader::ribRecord(std::uint16_t subtype, Span body, std::string& why) {
  const bool addPath = subtype >= 8;
  const std::uint16_t plain = addPath ? static_cast<std::uint16_t>(subtype - 6) : subtype;
  Cursor in(body.data, body.size);
  if (!in.skip(4)) {
    return cut(why, "sequence number");
  }
  int family = plain <= 3 ? kIPv4 : kIPv6;
  if (plain == kRibGeneric || subtype == kRibGenericAddPath) {
    unsigned afi = 0;
    unsigned safi = 0;
    if (!in.u16(afi) || !in.u8(safi)) {
      return cut(why, "address family");
    }
    // Only unicast and multicast prefixes have an NLRI known here.
    if ((afi != kIPv4 && afi != kIPv6) || (safi != 1 && safi != 2)) {
      ++routes.mutableCounts().mrtRecordsSkipped;
      return true;
    }
    family = static_cast<int>(afi);
  }
  std::uint32_t network = 0;
  int length = 0;
  if (!takePrefix(in, family, network, length, why)) {
    return false;
  }
  unsigned entries = 0;
  if (!in.u16(entries)) {
    return cut(why, "entry count");
  }
  for (unsigned i = 0; i < entries; ++i) {
    unsigned peer = 0;
    unsigned attributeLength = 0;
    if (!in.u16(peer) || !in.skip(addPath ? 8 : 4) || !in.u16(attributeLength)) {
      return cut(why, "RIB entry");
    }
    if (peerCount < 0) {
      why = "RIB entry before any peer index table";
      return false;
    }
    if (peer >= static_cast<unsigned long>(peerCount)) {
      why = "peer index " + std::to_string(peer) + " beyond the " + std::to_string(peerCount) +
            " peers of the peer index table";
      return false;
    }
    if (in.left() < attributeLength) {
      return cut(why, "path attributes");
    }
    if (!attributes(Span{in.here(), attributeLength}, 4, nullptr, why)) {
      return false;
    }
    in.skip(attributeLength);
    addTableEntry(family, network, length);
  }
  return true;
}

bool MrtReader::bgp4mp(std::uint16_t subtype, Span body, std::string& why) {
  if (subtype == kStateChange || subtype == kStateChangeAs4) {
    // bgpdump prints a STATE line, never a route.
    routes.addEntry(RouteVerdict::notTableEntry, route);
    return true;
  }
  // MESSAGE, MESSAGE_AS4, MESSAGE_LOCAL, MESSAGE_AS4_LOCAL and their
  // ADDPATH variants (RFC 8050), 8 to 11 in the same order.
  static const int kAsBytes[12] = {0, 2, 0, 0, 4, 0, 2, 4, 2, 4, 2, 4};
  if (subtype >= 12 || kAsBytes[subtype] == 0) {
    ++routes.mutableCounts().mrtRecordsSkipped;
    return true;
  }
  const int asBytes = kAsBytes[subtype];
  const bool addPath = subtype >= 8;
  Cursor in(body.data, body.size);
  unsigned family = 0;
  if (!in.skip(2 * static_cast<std::size_t>(asBytes) + 2) || !in.u16(family)) {
    return cut(why, "peer header");
  }
  if (family != kIPv4 && family != kIPv6) {
    why = "unknown address family " + std::to_string(family);
    return false;
  }
  if (!in.skip(2 * static_cast<std::size_t>(addressBytes(static_cast<int>(family))))) {
    return cut(why, "peer addresses");
  }
  unsigned messageLength = 0;
  unsigned messageType = 0;
  const unsigned char* message = in.here();
  if (!in.skip(16) || !in.u16(messageLength) || !in.u8(messageType)) {
    return cut(why, "BGP message header");
  }
  if (messageLength < 19) {
    why = "BGP message length " + std::to_string(messageLength) + " under 19";
    return false;
  }
  if (messageLength - 19 > in.left()) {
    return cut(why, "BGP message");
  }
  if (messageType != kBgpUpdate) {
    return true;
  }
  return update(Span{message + 19, messageLength - 19u}, asBytes, addPath, why);
}

bool MrtReader::update(Span message, int asBytes, bool addPath, std::string& why) {
  Cursor in(message.data, message.size);
  unsigned withdrawnLength = 0;
  if (!in.u16(withdrawnLength) || in.left() < withdrawnLength) {
    return cut(why, "withdrawn routes");
  }
  const Span withdrawn{in.here(), withdrawnLength};
  in.skip(withdrawnLength);
  unsigned attributeLength = 0;
  if (!in.u16(attributeLength) || in.left() < attributeLength) {
    return cut(why, "path attributes");
  }
  Span reach[2] = {{nullptr, 0}, {nullptr, 0}};
  if (!attributes(Span{in.here(), attributeLength}, asBytes, reach, why)) {
    return false;
  }
  in.skip(attributeLength);
  const Span nlri{in.here(), in.left()};
  if (!prefixes(withdrawn, kIPv4, addPath, false, why) ||
      !prefixes(nlri, kIPv4, addPath, true, why)) {
    return false;
  }
  for (int i = 0; i < 2; ++i) {
    if (reach[i].data == nullptr) {
      continue;
    }
    Cursor mp(reach[i].data, reach[i].size);
    unsigned afi = 0;
    unsigned safi = 0;
    if (!mp.u16(afi) || !mp.u8(safi)) {
      return cut(why, "multiprotocol address family");
    }
    if (i == 0) {
      unsigned nextHopLength = 0;
      // The next hop, then a reserved byte.
      if (!mp.u8(nextHopLength) || !mp.skip(nextHopLength + 1u)) {
        return cut(why, "multiprotocol next hop");
      }
    }
    if ((afi != kIPv4 && afi != kIPv6) || (safi != 1 && safi != 2)) {
      continue;
    }
    if (!prefixes(Span{mp.here(), mp.left()}, static_cast<int>(afi), addPath, i == 0, why)) {
      return false;
    }
  }
  return true;
}

bool MrtReader::prefixes(Span nlri, int family, bool addPath, bool announced, std::string& why) {
  Cursor in(nlri.data, nlri.size);
  const bool routesToo = announced && routes.announcements();
  while (in.left() > 0) {
    if (addPath && !in.skip(4)) {
      return cut(why, "path identifier");
    }
    std::uint32_t network = 0;
    int length = 0;
    unsigned bits = 0;
    const unsigned char* start = in.here();
    // A last prefix cut by the end of its field is no prefix: bgpdump reads
    // the field up to it, and so do collectors' files.
    if (in.u8(bits) && bits <= (family == kIPv4 ? 32u : 128u) && in.left() < (bits + 7) / 8) {
      ++routes.mutableCounts().mrtPrefixesCut;
      return true;
    }
    in = Cursor(start, static_cast<std::size_t>(nlri.data + nlri.size - start));
    if (!takePrefix(in, family, network, length, why)) {
      return false;
    }
    if (routesToo) {
      addTableEntry(family, network, length);
    } else {
      routes.addEntry(RouteVerdict::notTableEntry, route);
    }
  }
  return true;
}

bool MrtReader::attributes(Span data, int asBytes, Span* reach, std::string& why) {
  Cursor in(data.data, data.size);
  bool hasAs4Path = false;
  bool aggregatorNotTrans = false;
  bool hasAs4Aggregator = false;
  path.clear();
  while (in.left() > 0) {
    unsigned flags = 0;
    unsigned code = 0;
    unsigned length = 0;
    if (!in.u8(flags) || !in.u8(code)) {
      return cut(why, "attribute header");
    }
    const bool extended = (flags & 0x10) != 0;
    if (!(extended ? in.u16(length) : in.u8(length))) {
      return cut(why, "attribute length");
    }
    const unsigned char* value = in.here();
    if (!in.skip(length)) {
      why = "attribute " + std::to_string(code) + " of " + std::to_string(length) +
            " bytes runs past the end of the attributes";
      return false;
    }
    switch (code) {
      case kAsPath:
        if (!path.decode(value, length, asBytes, why)) {
          return false;
        }
        break;
      case kAs4Path:
        if (asBytes == 2) {
          if (!as4Path.decode(value, length, 4, why)) {
            return false;
          }
          hasAs4Path = true;
        }
        break;
      case kAggregator:
        if (asBytes == 2 && length >= 2) {
          aggregatorNotTrans = (unsigned{value[0]} << 8 | value[1]) != kAsTrans;
        }
        break;
      case kAs4Aggregator:
        hasAs4Aggregator = true;
        break;
      case kMpReachNlri:
      case kMpUnreachNlri:
        if (reach != nullptr) {
          reach[code == kMpReachNlri ? 0 : 1] = Span{value, length};
        }
        break;
      default:
        break;
    }
  }
  // RFC 6793, 4.2.3: an aggregator that is no AS_TRANS says that the
  // AS4_PATH (and AS4_AGGREGATOR) came from elsewhere and are to be ignored.
  if (hasAs4Path && !(aggregatorNotTrans && hasAs4Aggregator)) {
    path.mergeAs4Path(as4Path);
  }
  pathVerdict = path.toRoute(route);
  return true;
}
