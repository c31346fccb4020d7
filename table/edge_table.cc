#include "table/edge_table.h"

#include <cstddef>

#include "asgraph/edge_line_columns.h"

namespace {

// The names of the edge line's columns, in kEdgeColumns' order; "from_1" and "from_2" say from
// which AS a value is seen, "second_" marks the second compared graph's values.
constexpr const char* kEdgeColumnNames[] = {
    "as_1",
    "as_2",
    "oriented",
    "direction",
    "path_covering_from_1",
    "ip_covering_from_1",
    "path_covering_from_2",
    "ip_covering_from_2",
    "oriented_in_first",
    "oriented_in_second",
    "direction_in_first",
    "direction_in_second",
    "second_path_covering_from_1",
    "second_ip_covering_from_1",
    "second_path_covering_from_2",
    "second_ip_covering_from_2",
    "compared_graphs",
    "incoming_edges",
    "outgoing_edges",
    "undirected_edges",
    "unoriented_edges",
    "orientation_changes",
    "orientation_stability",
};
static_assert(sizeof kEdgeColumnNames / sizeof kEdgeColumnNames[0] == kDifferentialEdgeColumns,
              "one name per edge line column");

// A derived relationship: its name and the columns of the flag and the direction it reads.
struct Relationship {
  const char* name;
  int flagColumn;
  int directionColumn;
};

constexpr Relationship kRelationships[] = {
    {"relationship", 2, 3},
    {"relationship_in_first", 8, 10},
    {"relationship_in_second", 9, 11},
};
constexpr std::size_t kPlainRelationships = 1;
constexpr std::size_t kDifferentialRelationships = 3;

int columnCount(bool differential) {
  return differential ? kDifferentialEdgeColumns : kPlainEdgeColumns;
}

std::size_t relationshipCount(bool differential) {
  return differential ? kDifferentialRelationships : kPlainRelationships;
}

}  // namespace

const char* relationshipName(bool oriented, edge_dir direction) {
  if (!oriented) {
    return "unknown";
  }
  switch (direction) {
    case dir_forward:
      return "p2c";
    case dir_backward:
      return "c2p";
    default:
      return "p2p";
  }
}

std::vector<std::string> edgeTableColumns(bool differential) {
  std::vector<std::string> names(kEdgeColumnNames, kEdgeColumnNames + columnCount(differential));
  for (std::size_t i = 0; i < relationshipCount(differential); ++i) {
    names.emplace_back(kRelationships[i].name);
  }
  return names;
}

void writeEdgeRows(ASGraph& graph, RowWriter& rows) {
  const bool differential = graph.isDifferential();
  const int columns = columnCount(differential);
  const std::size_t relationships = relationshipCount(differential);
  ColumnValue values[kDifferentialEdgeColumns];
  for (ASGraph::EdgeWalk walk(graph); !walk.atEnd() && rows.ok(); walk.next()) {
    const ASGraph::graph_edge* e = walk.current();
    WrittenEdgeLine line;
    line.first = e->from->key;
    line.second = e->to->key;
    line.dir = *e->dir;
    line.forward = e->fwdWeight;
    line.backward = e->revWeight;
    for (int i = 0; i < columns; ++i) {
      const EdgeColumn& column = kEdgeColumns[i];
      values[i] = column.load(line);
      switch (column.conversion) {
        case ColumnConversion::kDirection:
          rows.signedNumber(graph.dirToVal(values[i].direction));
          break;
        case ColumnConversion::kStability:
          rows.real(values[i].real);
          break;
        default:
          rows.number(values[i].number);
      }
    }
    for (std::size_t i = 0; i < relationships; ++i) {
      const Relationship& r = kRelationships[i];
      rows.word(relationshipName(values[r.flagColumn].number != 0,
                                 values[r.directionColumn].direction));
    }
    rows.endRow();
  }
}
