#include "table/ases_table.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "asgraph/as_graph.h"
#include "engine/node_compare.h"
#include "table/graph_input.h"
#include "table/row_writer.h"
#include "table/series_reader.h"
#include "table/table_output.h"

namespace {

constexpr const char* kAsColumns[] = {
    "graph",     "date",  "as",      "degree",    "providers",
    "customers", "peers", "unknown", "edges_new", "edges_gone",
};

// What one AS has in the later graph of a pair, and what changed for it.
struct AsCounts {
  std::uint32_t degree = 0;
  std::uint32_t providers = 0;
  std::uint32_t customers = 0;
  std::uint32_t peers = 0;
  std::uint32_t unknown = 0;
  std::uint32_t edgesNew = 0;
  std::uint32_t edgesGone = 0;
  bool inLater = false;
};

// The ASes of two graphs, ascending, and where each one's counts are. An AS number below 65536
// finds its place in a table; a wider one by a binary search among the wide ones.
class AsUnion {
 public:
  void build(ASGraph& earlier, ASGraph& later) {
    keys.clear();
    counts.clear();
    walkNodeUnion(earlier, later, [this](ASNumber as, NodeSide side) {
      keys.push_back(as);
      AsCounts c;
      c.inLater = side != NodeSide::kFirstOnly;
      counts.push_back(c);
    });
    narrow.assign(kNarrow, 0);
    firstWide = keys.size();
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (keys[i] < kNarrow) {
        narrow[keys[i]] = static_cast<std::uint32_t>(i);
      } else if (firstWide == keys.size()) {
        firstWide = i;
      }
    }
  }
  AsCounts& at(ASNumber as) {
    if (as < kNarrow) {
      return counts[narrow[as]];
    }
    return counts[std::lower_bound(keys.begin() + static_cast<std::ptrdiff_t>(firstWide),
                                   keys.end(), as) -
                  keys.begin()];
  }

  std::vector<ASNumber> keys;
  std::vector<AsCounts> counts;

 private:
  static constexpr ASNumber kNarrow = 65536;
  std::vector<std::uint32_t> narrow;
  std::size_t firstWide = 0;
};

// One adjacency of the later graph, seen from both ends as the edge table's `relationship`
// reads it from the smaller one. A self-loop is one adjacency of its AS, seen from one end, so
// that the relationships of every AS add up to its degree.
void countAdjacency(const ASGraph::graph_edge* e, AsCounts& from, AsCounts& to) {
  const bool loop = &from == &to;
  ++from.degree;
  to.degree += loop ? 0 : 1;
  if (!e->fwdWeight->oriented) {
    ++from.unknown;
    to.unknown += loop ? 0 : 1;
    return;
  }
  switch (*e->dir) {
    case dir_forward:  // p2c: from is the provider
      ++from.customers;
      to.providers += loop ? 0 : 1;
      break;
    case dir_backward:  // c2p
      ++from.providers;
      to.customers += loop ? 0 : 1;
      break;
    default:
      ++from.peers;
      to.peers += loop ? 0 : 1;
  }
}

void countChange(std::uint32_t AsCounts::*counter, AsCounts& from, AsCounts& to) {
  ++(from.*counter);
  if (&from != &to) {
    ++(to.*counter);
  }
}

// One merge of the two graphs' adjacencies, both walked from their smaller AS in (from, to)
// order: the later graph's are counted by relationship, and the new and gone ones.
void countPair(ASGraph& earlier, ASGraph& later, AsUnion& ases) {
  ASGraph::EdgeWalk before(earlier);
  ASGraph::EdgeWalk after(later);
  while (!before.atEnd() || !after.atEnd()) {
    const int order = before.atEnd()  ? 1
                      : after.atEnd() ? -1
                                      : lexOrder(before.current(), after.current());
    if (order < 0) {
      const ASGraph::graph_edge* e = before.current();
      countChange(&AsCounts::edgesGone, ases.at(e->from->key), ases.at(e->to->key));
      before.next();
      continue;
    }
    const ASGraph::graph_edge* e = after.current();
    AsCounts& from = ases.at(e->from->key);
    AsCounts& to = ases.at(e->to->key);
    countAdjacency(e, from, to);
    if (order > 0) {
      countChange(&AsCounts::edgesNew, from, to);
    } else {
      before.next();
    }
    after.next();
  }
}

void writeRows(const std::string& graph, const GraphDate& date, bool compared, const AsUnion& ases,
               RowWriter& rows) {
  const std::string isoText = isoDate(date);
  for (std::size_t i = 0; i < ases.keys.size() && rows.ok(); ++i) {
    const AsCounts& c = ases.counts[i];
    rows.text(graph);
    if (date.known) {
      rows.word(isoText.c_str());
    } else {
      rows.empty();
    }
    rows.number(ases.keys[i]);
    rows.number(c.degree);
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
    return kTableInvalid;
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
  AsUnion ases;
  for (std::size_t i = 0; i < reader.count(); ++i) {
    if (!reader.read(i, *later)) {
      const int status = reader.fail();
      table.finish(false);
      return status;
    }
    // The first graph is taken against an empty one: every AS is there, nothing is gone.
    ases.build(*earlier, *later);
    countPair(*earlier, *later, ases);
    writeRows(options.inputs[i], options.dates[i], i > 0, ases, rows);
    std::swap(earlier, later);
  }
  reader.done();
  return finishTable(table, rows, err) ? kTableSuccess : kTableInvalid;
}
