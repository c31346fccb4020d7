#include "table/history_table.h"

#include <cstdint>
#include <string>
#include <vector>

#include "asgraph/as_graph.h"
#include "cli/exit_status.h"
#include "cli/graph_input.h"
#include "table/row_writer.h"
#include "table/series_reader.h"
#include "table/table_output.h"

namespace {

constexpr const char* kHistoryColumns[] = {
    "as_1",
    "as_2",
    "first_seen",
    "last_seen",
    "snapshots",
    "returns",
    "relationship_first",
    "relationship_last",
    "relationship_changes",
};

// The relationships as the edge table names them, seen from the smaller AS.
enum Relationship : std::uint8_t { kUnknown, kP2c, kC2p, kP2p };
constexpr const char* kRelationshipNames[] = {"unknown", "p2c", "c2p", "p2p"};

Relationship relationshipOf(const ASGraph::graph_edge* e) {
  if (!e->fwdWeight->oriented) {
    return kUnknown;
  }
  switch (*e->dir) {
    case dir_forward:
      return kP2c;
    case dir_backward:
      return kC2p;
    default:
      return kP2p;
  }
}

// Everything kept of one adjacency: 32 bytes, however many graphs hold it.
struct AdjacencyHistory {
  std::uint64_t pair;  // the smaller AS in the high half
  std::uint32_t firstSeen;
  std::uint32_t lastSeen;  // graph indices
  std::uint32_t snapshots;
  std::uint32_t returns;
  std::uint32_t changes;
  Relationship first;
  Relationship last;
};

std::uint64_t pairOf(const ASGraph::graph_edge* e) {
  return (static_cast<std::uint64_t>(e->from->key) << 32) | e->to->key;
}

// Folds graph number index into the histories, which stay ascending by pair. The graph's walk is
// ascending too, so one pass updates the adjacencies seen before and collects the new ones, which
// are then merged in from the back, in place: no second copy of the histories is ever made.
void foldGraph(const ASGraph& graph, std::uint32_t index, std::vector<AdjacencyHistory>& histories,
               std::vector<AdjacencyHistory>& added) {
  added.clear();
  std::size_t at = 0;
  for (ASGraph::EdgeWalk walk(graph); !walk.atEnd(); walk.next()) {
    const ASGraph::graph_edge* e = walk.current();
    const std::uint64_t pair = pairOf(e);
    const Relationship relationship = relationshipOf(e);
    while (at < histories.size() && histories[at].pair < pair) {
      ++at;
    }
    if (at < histories.size() && histories[at].pair == pair) {
      AdjacencyHistory& h = histories[at];
      h.returns += h.lastSeen + 1 < index ? 1 : 0;
      h.changes += h.last != relationship ? 1 : 0;
      h.last = relationship;
      h.lastSeen = index;
      ++h.snapshots;
      continue;
    }
    added.push_back({pair, index, index, 1, 0, 0, relationship, relationship});
  }
  if (added.empty()) {
    return;
  }
  std::size_t old = histories.size();
  std::size_t fresh = added.size();
  histories.resize(old + fresh);
  for (std::size_t to = old + fresh; fresh > 0; --to) {
    if (old > 0 && histories[old - 1].pair > added[fresh - 1].pair) {
      histories[to - 1] = histories[--old];
    } else {
      histories[to - 1] = added[--fresh];
    }
  }
}

}  // namespace

int runHistoryTable(const TableOptions& options, bool progress, FILE* err) {
  OutputFile table;
  if (!openTableOutput(table, options.outputFile, options.inputs, err)) {
    return kExitUnwritableOrInvalid;
  }
  std::vector<AdjacencyHistory> histories;
  std::vector<AdjacencyHistory> added;
  {
    SeriesReader reader(options, progress, err);
    ASGraph graph;
    for (std::size_t i = 0; i < reader.count(); ++i) {
      if (!reader.read(i, graph)) {
        const int status = reader.fail();
        table.finish(false);
        return status;
      }
      foldGraph(graph, static_cast<std::uint32_t>(i), histories, added);
    }
    reader.done();
  }
  std::vector<AdjacencyHistory>().swap(added);
  RowWriter rows(table.stream(), options.format,
                 std::vector<std::string>(std::begin(kHistoryColumns), std::end(kHistoryColumns)));
  // A graph as first_seen and last_seen name it: its date, or its name when it has none.
  std::vector<std::string> labels;
  for (std::size_t i = 0; i < options.inputs.size(); ++i) {
    const GraphDate& date = options.dates[i];
    labels.push_back(rows.encodedText(date.known ? isoDate(date) : options.inputs[i]));
  }
  rows.header();
  for (const AdjacencyHistory& h : histories) {
    if (!rows.ok()) {
      break;
    }
    rows.number(h.pair >> 32);
    rows.number(h.pair & 0xFFFFFFFFu);
    rows.encoded(labels[h.firstSeen]);
    rows.encoded(labels[h.lastSeen]);
    rows.number(h.snapshots);
    rows.number(h.returns);
    rows.word(kRelationshipNames[h.first]);
    rows.word(kRelationshipNames[h.last]);
    rows.number(h.changes);
    rows.endRow();
  }
  return finishTable(table, rows, err) ? kExitSuccess : kExitUnwritableOrInvalid;
}
