#include "table/ases_table.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "asgraph/as_graph.h"
#include "cli/exit_status.h"
#include "cli/graph_input.h"
#include "engine/node_compare.h"
#include "graph/arena.h"
#include "graph/hash_index.h"
#include "table/row_writer.h"
#include "table/series_reader.h"
#include "table/table_output.h"

namespace {

constexpr const char* kAsColumns[] = {
    "graph",     "date",  "as",      "degree",    "providers",
    "customers", "peers", "unknown", "edges_new", "edges_gone",
};

// What one AS has in the later graph of a pair, and what changed for it. Its degree is the sum
// of the four kinds.
struct AsCounts {
  std::uint32_t providers = 0;
  std::uint32_t customers = 0;
  std::uint32_t peers = 0;
  std::uint32_t unknown = 0;
  std::uint32_t edgesNew = 0;
  std::uint32_t edgesGone = 0;
};

// The counters of the ASes of two graphs. An adjacency's far end comes in no order, so finding
// its counters must cost a memory access or two: those of an AS number below 65536 stand at that
// index of a table, those of a wider one are found through the graph's own seeded hash index,
// whose worst case crafted AS numbers cannot drive up.
class AsCounters {
 public:
  // Every AS of either graph, counters at 0; ases() lists them ascending.
  void reset(ASGraph& earlier, ASGraph& later) {
    keys.clear();
    walkNodeUnion(earlier, later, [this](ASNumber as, NodeSide) { keys.push_back(as); });
    narrow.assign(kNarrow, AsCounts());
    std::size_t wideCount = 0;
    for (ASNumber as : keys) {
      wideCount += as >= kNarrow ? 1 : 0;
    }
    // Sized once, so that the index's pointers into it stay valid.
    wide.assign(wideCount, AsCounts());
    index.clear();
    arena.recycle();
    AsCounts* next = wide.data();
    for (ASNumber as : keys) {
      if (as >= kNarrow) {
        index.add(as, next++);
      }
    }
  }
  const std::vector<ASNumber>& ases() const { return keys; }
  // as must be an AS of one of the two graphs.
  AsCounts& at(ASNumber as) { return as < kNarrow ? narrow[as] : *index.find(as); }

 private:
  static constexpr ASNumber kNarrow = 65536;
  std::vector<ASNumber> keys;
  std::vector<AsCounts> narrow;
  std::vector<AsCounts> wide;
  Arena arena;
  HashIndex<ASNumber, AsCounts*> index{&arena};
};

// One adjacency of the later graph, seen from both ends as the edge table's `relationship`
// reads it from the smaller one. A self-loop is one adjacency of its AS, seen from one end, so
// that the relationships of every AS add up to its degree.
void countAdjacency(const ASGraph::graph_edge* e, AsCounts& from, AsCounts& to) {
  const std::uint32_t other = &from == &to ? 0 : 1;
  if (!e->fwdWeight->oriented) {
    ++from.unknown;
    to.unknown += other;
    return;
  }
  switch (*e->dir) {
    case dir_forward:  // p2c: from is the provider
      ++from.customers;
      to.providers += other;
      break;
    case dir_backward:  // c2p
      ++from.providers;
      to.customers += other;
      break;
    default:
      ++from.peers;
      to.peers += other;
  }
}

// The counters of a walk's from end: the walk meets them in ascending order, an AS's adjacencies
// one after the other, so the last one found is most often the one wanted.
class FromCounters {
 public:
  explicit FromCounters(AsCounters& ases) : ases(ases) {}
  AsCounts& at(ASNumber as) {
    if (last == nullptr || as != lastAs) {
      last = &ases.at(as);
      lastAs = as;
    }
    return *last;
  }

 private:
  AsCounters& ases;
  AsCounts* last = nullptr;
  ASNumber lastAs = 0;
};

// One merge of the two graphs' adjacencies, both walked from their smaller AS in (from, to)
// order: the later graph's are counted by relationship, and the new and gone ones.
void countPair(ASGraph& earlier, ASGraph& later, AsCounters& ases) {
  ASGraph::EdgeWalk before(earlier);
  ASGraph::EdgeWalk after(later);
  FromCounters goneFrom(ases);
  FromCounters laterFrom(ases);
  while (!before.atEnd() || !after.atEnd()) {
    const int order = before.atEnd()  ? 1
                      : after.atEnd() ? -1
                                      : lexOrder(before.current(), after.current());
    if (order < 0) {
      const ASGraph::graph_edge* e = before.current();
      AsCounts& from = goneFrom.at(e->from->key);
      AsCounts& to = ases.at(e->to->key);
      ++from.edgesGone;
      to.edgesGone += &from == &to ? 0 : 1;
      before.next();
      continue;
    }
    const ASGraph::graph_edge* e = after.current();
    AsCounts& from = laterFrom.at(e->from->key);
    AsCounts& to = ases.at(e->to->key);
    countAdjacency(e, from, to);
    if (order > 0) {
      ++from.edgesNew;
      to.edgesNew += &from == &to ? 0 : 1;
    } else {
      before.next();
    }
    after.next();
  }
}

void writeRows(const std::string& graph, const GraphDate& date, bool compared, AsCounters& ases,
               RowWriter& rows) {
  const std::string graphCell = rows.encodedText(graph);
  const std::string dateCell = date.known ? rows.encodedText(isoDate(date)) : rows.encodedEmpty();
  for (ASNumber as : ases.ases()) {
    if (!rows.ok()) {
      break;
    }
    const AsCounts& c = ases.at(as);
    rows.encoded(graphCell);
    rows.encoded(dateCell);
    rows.number(as);
    rows.number(std::uint64_t{c.providers} + c.customers + c.peers + c.unknown);
    rows.number(c.providers);
    rows.number(c.customers);
    rows.number(c.peers);
    rows.number(c.unknown);
    if (compared) {
      rows.number(c.edgesNew);
      rows.number(c.edgesGone);
    } else {
      rows.empty();
      rows.empty();
    }
    rows.endRow();
  }
}

}  // namespace

int runAsesTable(const TableOptions& options, bool progress, FILE* err) {
  OutputFile table;
  if (!openTableOutput(table, options.outputFile, options.inputs, err)) {
    return kExitUnwritableOrInvalid;
  }
  RowWriter rows(table.stream(), options.format,
                 std::vector<std::string>(std::begin(kAsColumns), std::end(kAsColumns)));
  // A file takes its target's place only when complete; standard output must not see half a
  // table either.
  if (options.outputFile.empty()) {
    rows.holdRows();
  }
  rows.header();
  SeriesReader reader(options, progress, err);
  auto earlier = std::make_unique<ASGraph>();
  auto later = std::make_unique<ASGraph>();
  AsCounters ases;
  for (std::size_t i = 0; i < reader.count(); ++i) {
    if (!reader.read(i, *later)) {
      const int status = reader.fail();
      table.finish(false);
      return status;
    }
    // The first graph is taken against an empty one: every AS is there, nothing is gone.
    ases.reset(*earlier, *later);
    countPair(*earlier, *later, ases);
    writeRows(options.inputs[i], options.dates[i], i > 0, ases, rows);
    std::swap(earlier, later);
  }
  reader.done();
  return finishTable(table, rows, err) ? kExitSuccess : kExitUnwritableOrInvalid;
}
