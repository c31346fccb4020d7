#include "table/table_run.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "asgraph/as_graph.h"
#include "plandrex_version.h"
#include "table/edge_table.h"
#include "table/graph_input.h"
#include "table/node_table.h"
#include "table/report_table.h"
#include "table/row_writer.h"
#include "table/table_options.h"
#include "table/table_output.h"

namespace {

constexpr const char kHelp[] =
    "Usage: plandrex-table report [-o FILE] [--json] [--base] [--plot FILE.svg] [--quiet]\n"
    "                             GRAPH GRAPH...\n"
    "       plandrex-table edges [-o FILE] [--json] GRAPH\n"
    "       plandrex-table nodes [-o FILE] [--json] GRAPH GRAPH\n"
    "\n"
    "Turns AS graph files (plain or differential) into tables: CSV with a header row by\n"
    "default, JSON Lines with --json. `-' reads a graph from standard input (once).\n"
    "\n"
    "Commands:\n"
    "  report   one row per consecutive pair of graphs: `first', `second' and the 25\n"
    "           figures of plandrex's report for the pair\n"
    "  edges    one row per adjacency of a graph, seen from its smaller AS number: every\n"
    "           column of the edge line and the relationships they stand for\n"
    "           (p2c, c2p, p2p or unknown)\n"
    "  nodes    one row per AS number of either graph, ascending: `as' and `in'\n"
    "           (first, second or both), as plandrex -l lists them\n"
    "\n"
    "Options:\n"
    "  -o FILE           write the table to FILE (replaced only when complete)\n"
    "  --json            JSON Lines: one object per row\n"
    "  --base            report: every later graph against the first\n"
    "  --plot FILE.svg   report: also draw the series as an SVG line chart\n"
    "  --quiet           report: no progress display on a terminal\n"
    "  --help            print this help and exit\n"
    "  --version         print the version and exit\n"
    "\n"
    "Exit status: 0 success, 1 command line rejected, 2 an input cannot be opened,\n"
    "3 an input is not a valid graph file or the output cannot be written.\n";

int printAndFlush(const char* text) {
  errno = 0;
  std::fputs(text, stdout);
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "Unable to write to standard output\n(%s)\n",
                 std::strerror(errno != 0 ? errno : EIO));
    return kTableInvalid;
  }
  return kTableSuccess;
}

// edges and nodes: read every input, then write the rows.
int runGraphTable(const TableOptions& options, FILE* err) {
  std::vector<ASGraph> graphs(options.inputs.size());
  TableOutput table(options.outputFile);
  if (!table.open(err)) {
    return kTableInvalid;
  }
  for (std::size_t i = 0; i < options.inputs.size(); ++i) {
    std::string message;
    const int status = readGraphInput(options.inputs[i], graphs[i], message);
    if (status != kTableSuccess) {
      std::fputs(message.c_str(), err);
      table.discard();
      return status;
    }
  }
  if (options.command == TableCommand::kEdges) {
    RowWriter rows(table.stream(), options.format, edgeTableColumns(graphs[0].isDifferential()));
    rows.header();
    writeEdgeRows(graphs[0], rows);
    rows.finish();
    return table.commit(rows.writeError(), err) ? kTableSuccess : kTableInvalid;
  }
  RowWriter rows(table.stream(), options.format,
                 std::vector<std::string>(std::begin(kNodeTableColumns), std::end(kNodeTableColumns)));
  rows.header();
  writeNodeRows(graphs[0], graphs[1], rows);
  rows.finish();
  return table.commit(rows.writeError(), err) ? kTableSuccess : kTableInvalid;
}

}  // namespace

int tableMain(int argc, const char* const* argv) {
  TableOptions options;
  std::string reason;
  if (!parseTableOptions(argc, argv, options, reason)) {
    std::fprintf(stderr, "Syntax error: %s\nType plandrex-table --help for more information\n",
                 reason.c_str());
    return kTableBadCommandLine;
  }
  if (options.help) {
    return printAndFlush(kHelp);
  }
  if (options.version) {
    return printAndFlush("plandrex-table " PLANDREX_VERSION "\n");
  }
  if (options.command == TableCommand::kReport) {
    const bool progress = !options.quiet && isatty(STDERR_FILENO) == 1;
    return runReportTable(options, progress, stderr);
  }
  return runGraphTable(options, stderr);
}
