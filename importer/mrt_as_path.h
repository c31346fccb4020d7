#ifndef IMPORTER_MRT_AS_PATH_H_
#define IMPORTER_MRT_AS_PATH_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "importer/bgpdump_route.h"

// The AS_PATH or AS4_PATH attribute of a BGP route as its segments, and how
// the text path would read it as bgpdump prints it.
class MrtAsPath {
 public:
  enum SegmentType : std::uint8_t {
    kSet = 1,
    kSequence = 2,
    kConfedSequence = 3,
    kConfedSet = 4,
  };

  void clear();
  bool empty() const { return types.empty(); }

  // Decodes the attribute's value [data, data + size) with AS numbers of
  // asBytes (2 or 4) bytes each. false: a segment runs past the value, and
  // reason says so.
  bool decode(const unsigned char* data, std::size_t size, int asBytes, std::string& reason);

  // Merges the AS4_PATH of a route learnt over a session of 2-byte AS
  // numbers into this AS_PATH: when the AS_PATH holds at least as many ASes
  // as the AS4_PATH (a set counting one, confederation segments none), its
  // leading ASes beyond that count are kept and the AS4_PATH follows them;
  // otherwise the AS4_PATH is ignored. Confederation segments count no AS
  // but stay in the path (from either attribute), as bgpdump prints them.
  void mergeAs4Path(const MrtAsPath& as4Path);

  // The route's path as the text path reads bgpdump's rendering of it: the
  // sequences in order up to the first AS set, repeats collapsed; a
  // confederation segment before that, or a segment of unknown type
  // anywhere, is a token that is no AS number.
  RouteVerdict toRoute(BgpdumpRoute& route) const;

 private:
  std::size_t pathCount() const;
  void append(std::uint8_t type, const std::uint32_t* first, std::size_t count);

  std::vector<std::uint8_t> types;
  std::vector<std::uint32_t> lengths;
  std::vector<std::uint32_t> ases;  // the segments' AS numbers one after the other
  std::vector<std::uint8_t> mergedTypes;
  std::vector<std::uint32_t> mergedLengths;
  std::vector<std::uint32_t> mergedAses;
};

#endif  // IMPORTER_MRT_AS_PATH_H_
