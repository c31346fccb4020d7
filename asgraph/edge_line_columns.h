#ifndef ASGRAPH_EDGE_LINE_COLUMNS_H_
#define ASGRAPH_EDGE_LINE_COLUMNS_H_

#include <cstdint>

#include "asgraph/as_edge_weight.h"
#include "asgraph/as_number.h"
#include "graph/graph.h"

// The columns of an edge line, each described once in kEdgeColumns: the
// reader checks and stores them in that order, and the writer loads and
// prints them in that order. A plain graph has the first kPlainEdgeColumns
// columns, a differential graph all kDifferentialEdgeColumns.

// What one edge line carries: the adjacency's endpoints and its direction as
// seen from the first AS, and the record of each endpoint. The reader fills
// in an EdgeLine; the writer prints from a WrittenEdgeLine.
template <class Record>
struct EdgeLineOf {
  ASNumber first = 0;
  ASNumber second = 0;
  edge_dir dir = dir_none;
  Record* forward = nullptr;   // seen from the first AS
  Record* backward = nullptr;  // seen from the second AS
};
using EdgeLine = EdgeLineOf<ASEdgeWeight>;
using WrittenEdgeLine = EdgeLineOf<const ASEdgeWeight>;

// How a column's text becomes a value and back. The conversion also says
// which member of ColumnValue carries the value.
enum class ColumnConversion : unsigned char {
  kASNumber,    // number: signed decimal, 1 to 65535 (wide file: 4294967295)
  kFlag,        // number: exactly "0" or "1"
  kDirection,   // direction: signed decimal -1 to 1 in the file
  kUnsigned32,  // number: unsigned decimal at 32 bits
  kUnsigned64,  // number: unsigned decimal at 64 bits
  kCounter,     // number: unsigned decimal read at 32 bits, kept modulo 65536
  kStability,   // real: decimal floating point, single precision
};

struct ColumnValue {
  std::uint64_t number = 0;
  edge_dir direction = dir_none;
  float real = 0.0f;
};

// One column: the reader's reason for a token that does not convert (the
// token and a closing quote follow it), the conversion, where the reader
// stores the value and where the writer takes it from.
struct EdgeColumn {
  const char* badTokenReason;
  ColumnConversion conversion;
  void (*store)(EdgeLine& line, const ColumnValue& value);
  ColumnValue (*load)(const WrittenEdgeLine& line);
};

namespace edge_line_fields {

inline void assign(bool& field, const ColumnValue& value) { field = value.number != 0; }
inline void assign(std::uint16_t& field, const ColumnValue& value) {
  field = static_cast<std::uint16_t>(value.number);
}
inline void assign(std::uint32_t& field, const ColumnValue& value) {
  field = static_cast<std::uint32_t>(value.number);
}
inline void assign(std::uint64_t& field, const ColumnValue& value) { field = value.number; }
inline void assign(float& field, const ColumnValue& value) { field = value.real; }

inline ColumnValue valueOf(bool field) { return {field ? 1u : 0u, dir_none, 0.0f}; }
inline ColumnValue valueOf(std::uint16_t field) { return {field, dir_none, 0.0f}; }
inline ColumnValue valueOf(std::uint32_t field) { return {field, dir_none, 0.0f}; }
inline ColumnValue valueOf(std::uint64_t field) { return {field, dir_none, 0.0f}; }
inline ColumnValue valueOf(float field) { return {0, dir_none, field}; }

// Member of a record, or element Index of an array member.
template <auto Member, int Index, class Record>
auto& fieldOf(Record& record) {
  if constexpr (Index < 0) {
    return record.*Member;
  } else {
    return (record.*Member)[Index];
  }
}

// The first and the second AS number of the line.
struct FirstAS {
  static void store(EdgeLine& line, const ColumnValue& value) {
    line.first = static_cast<ASNumber>(value.number);
  }
  static ColumnValue load(const WrittenEdgeLine& line) {
    return valueOf(std::uint64_t{line.first});
  }
};
struct SecondAS {
  static void store(EdgeLine& line, const ColumnValue& value) {
    line.second = static_cast<ASNumber>(value.number);
  }
  static ColumnValue load(const WrittenEdgeLine& line) {
    return valueOf(std::uint64_t{line.second});
  }
};

// The adjacency's direction, seen from the first AS.
struct LineDirection {
  static void store(EdgeLine& line, const ColumnValue& value) { line.dir = value.direction; }
  static ColumnValue load(const WrittenEdgeLine& line) { return {0, line.dir, 0.0f}; }
};

// A field of the first AS's record only.
template <auto Member, int Index = -1>
struct FirstASField {
  static void store(EdgeLine& line, const ColumnValue& value) {
    assign(fieldOf<Member, Index>(*line.forward), value);
  }
  static ColumnValue load(const WrittenEdgeLine& line) {
    return valueOf(fieldOf<Member, Index>(*line.forward));
  }
};

// A field of the second AS's record only.
template <auto Member, int Index = -1>
struct SecondASField {
  static void store(EdgeLine& line, const ColumnValue& value) {
    assign(fieldOf<Member, Index>(*line.backward), value);
  }
  static ColumnValue load(const WrittenEdgeLine& line) {
    return valueOf(fieldOf<Member, Index>(*line.backward));
  }
};

// A field that both records hold with the same value.
template <auto Member, int Index = -1>
struct SharedField {
  static void store(EdgeLine& line, const ColumnValue& value) {
    assign(fieldOf<Member, Index>(*line.forward), value);
    assign(fieldOf<Member, Index>(*line.backward), value);
  }
  static ColumnValue load(const WrittenEdgeLine& line) {
    return valueOf(fieldOf<Member, Index>(*line.forward));
  }
};

// A source graph's direction: the second AS sees it reversed.
template <int Index>
struct SourceDirection {
  static void store(EdgeLine& line, const ColumnValue& value) {
    line.forward->srcDirection[Index] = value.direction;
    line.backward->srcDirection[Index] = reverse(value.direction);
  }
  static ColumnValue load(const WrittenEdgeLine& line) {
    return {0, line.forward->srcDirection[Index], 0.0f};
  }
};

// A counter whose partner field in the second AS's record is another one:
// incoming at one endpoint is outgoing at the other.
template <auto ForwardMember, auto BackwardMember>
struct CrossedCounter {
  static void store(EdgeLine& line, const ColumnValue& value) {
    assign((*line.forward).*ForwardMember, value);
    assign((*line.backward).*BackwardMember, value);
  }
  static ColumnValue load(const WrittenEdgeLine& line) {
    return valueOf((*line.forward).*ForwardMember);
  }
};

template <class Field>
constexpr EdgeColumn column(const char* badTokenReason, ColumnConversion conversion) {
  return {badTokenReason, conversion, &Field::store, &Field::load};
}

inline constexpr const char* kASNumber = "Invalid AS number: `";
inline constexpr const char* kFlag = "Invalid edge direction flag: `";
inline constexpr const char* kDirection = "Invalid edge direction: `";
inline constexpr const char* kPathCovering = "Invalid path covering value: `";
inline constexpr const char* kIPCovering = "Invalid IP address covering value: `";

using C = ColumnConversion;
using W = ASEdgeWeight;

inline constexpr EdgeColumn kEdgeColumns[] = {
    // 1, 2: the two AS numbers; 3, 4: orientation flag and direction.
    column<FirstAS>(kASNumber, C::kASNumber),
    column<SecondAS>(kASNumber, C::kASNumber),
    column<SharedField<&W::oriented>>(kFlag, C::kFlag),
    column<LineDirection>(kDirection, C::kDirection),
    // 5 to 8: path and IP address covering seen from the first AS, then from the second.
    column<FirstASField<&W::pathCovering, 0>>(kPathCovering, C::kUnsigned32),
    column<FirstASField<&W::ipCovering, 0>>(kIPCovering, C::kUnsigned64),
    column<SecondASField<&W::pathCovering, 0>>(kPathCovering, C::kUnsigned32),
    column<SecondASField<&W::ipCovering, 0>>(kIPCovering, C::kUnsigned64),
    // Differential graphs only. 9 to 12: orientation flags and directions in the two
    // compared graphs.
    column<SharedField<&W::srcOriented, 0>>(kFlag, C::kFlag),
    column<SharedField<&W::srcOriented, 1>>(kFlag, C::kFlag),
    column<SourceDirection<0>>(kDirection, C::kDirection),
    column<SourceDirection<1>>(kDirection, C::kDirection),
    // 13 to 16: the second compared graph's covering values.
    column<FirstASField<&W::pathCovering, 1>>(kPathCovering, C::kUnsigned32),
    column<FirstASField<&W::ipCovering, 1>>(kIPCovering, C::kUnsigned64),
    column<SecondASField<&W::pathCovering, 1>>(kPathCovering, C::kUnsigned32),
    column<SecondASField<&W::ipCovering, 1>>(kIPCovering, C::kUnsigned64),
    // 17 to 23: the history of the adjacency.
    column<SharedField<&W::comparedGraphs>>("Invalid compared graphs count value: `", C::kCounter),
    column<CrossedCounter<&W::incomingEdges, &W::outgoingEdges>>(
        "Invalid value for number of incoming edges: `", C::kCounter),
    column<CrossedCounter<&W::outgoingEdges, &W::incomingEdges>>(
        "Invalid value for number of outgoing edges: `", C::kCounter),
    column<SharedField<&W::undirectedEdges>>("Invalid value for number of undirected edges: `",
                                             C::kCounter),
    column<SharedField<&W::unorientedEdges>>("Invalid value for number of unoriented edges: `",
                                             C::kCounter),
    column<SharedField<&W::orientationChanges>>(
        "Invalid value for number of orientation changes: `", C::kCounter),
    column<SharedField<&W::orientationStability>>("Invalid value for orientation stability: `",
                                                  C::kStability),
};

}  // namespace edge_line_fields

using edge_line_fields::kEdgeColumns;
inline constexpr int kPlainEdgeColumns = 8;
inline constexpr int kDifferentialEdgeColumns = sizeof kEdgeColumns / sizeof kEdgeColumns[0];
static_assert(kDifferentialEdgeColumns == 23, "a differential edge line has 23 columns");

#endif  // ASGRAPH_EDGE_LINE_COLUMNS_H_
