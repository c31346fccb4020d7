#include "table/table_run.h"

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "asgraph/as_graph.h"
#include "cli/exit_status.h"
#include "cli/graph_input.h"
#include "cli/program_info.h"
#include "cli/syntax_error.h"
#include "fileio/out_of_memory.h"
#include "fileio/output_file.h"
#include "plandrex_version.h"
#include "table/edge_table.h"
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
  return printProgramInfo([text](FILE* out) { std::fputs(text, out); }, stdout, stderr);
}

// edges and nodes: read every input, then write the rows.
int runGraphTable(const TableOptions& options, FILE* err) {
  std::vector<ASGraph> graphs(options.inputs.size());
  OutputFile table;
  if (!openTableOutput(table, options.outputFile, options.inputs, err)) {
    return kExitUnwritableOrInvalid;
  }
  for (std::size_t i = 0; i < options.inputs.size(); ++i) {
    std::string message;
    const int status = readGraphInput(options.inputs[i], graphs[i], message);
    if (status != kExitSuccess) {
      std::fputs(message.c_str(), err);
      table.finish(false);
      return status;
    }
  }
  if (options.command == TableCommand::kEdges) {
    RowWriter rows(table.stream(), options.format, edgeTableColumns(graphs[0].isDifferential()));
    rows.header();
    writeEdgeRows(graphs[0], rows);
    return finishTable(table, rows, err) ? kExitSuccess : kExitUnwritableOrInvalid;
  }
  RowWriter rows(
      table.stream(), options.format,
      std::vector<std::string>(std::begin(kNodeTableColumns), std::end(kNodeTableColumns)));
  rows.header();
  writeNodeRows(graphs[0], graphs[1], rows);
  return finishTable(table, rows, err) ? kExitSuccess : kExitUnwritableOrInvalid;
}

}  // namespace

int tableMain(int argc, const char* const* argv) {
  TableOptions options;
  std::string reason;
  if (!parseTableOptions(argc, argv, options, reason)) {
    return reportSyntaxError(stderr, "plandrex-table", reason.c_str());
  }
  if (options.help) {
    return printAndFlush(kHelp);
  }
  if (options.version) {
    return printAndFlush("plandrex-table " PLANDREX_VERSION "\n");
  }
  // Running out of memory ends the run with status 3 and leaves any -o target as it was.
  return runWithinMemory(
      [&options] {
        if (options.command == TableCommand::kReport) {
          const bool progress = !options.quiet && isatty(STDERR_FILENO) == 1;
          return runReportTable(options, progress, stderr);
        }
        return runGraphTable(options, stderr);
      },
      stderr, kExitUnwritableOrInvalid);
}
