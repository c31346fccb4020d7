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
#include "table/ases_table.h"
#include "table/edge_table.h"
#include "table/history_table.h"
#include "table/node_table.h"
#include "table/report_series.h"
#include "table/report_table.h"
#include "table/row_writer.h"
#include "table/series_reader.h"
#include "table/snapshot_series.h"
#include "table/snapshots_table.h"
#include "table/table_options.h"
#include "table/table_output.h"

namespace {

constexpr const char kHelp[] =
    "Usage: plandrex-table report [-o FILE] [--json] [--base] [--dates D1,D2,...] [--unordered]\n"
    "                             [FIGURE OPTIONS] [--quiet] GRAPH GRAPH...\n"
    "       plandrex-table snapshots [-o FILE] [--json] [--dates ...] [--unordered]\n"
    "                                [FIGURE OPTIONS] [--quiet] GRAPH...\n"
    "       plandrex-table ases [-o FILE] [--json] [--dates ...] [--unordered] [--quiet] GRAPH...\n"
    "       plandrex-table history [-o FILE] [--json] [--dates ...] [--unordered] [--quiet]\n"
    "                              GRAPH...\n"
    "       plandrex-table edges [-o FILE] [--json] GRAPH\n"
    "       plandrex-table nodes [-o FILE] [--json] [--quiet] GRAPH GRAPH\n"
    "\n"
    "Turns AS graph files (plain or differential) into tables: CSV with a header row by\n"
    "default, JSON Lines with --json. `-' reads a graph from standard input (once).\n"
    "\n"
    "Commands:\n"
    "  report     one row per consecutive pair of graphs: `first', `second', the 25\n"
    "             figures of plandrex's report for the pair, `date_1' and `date_2'\n"
    "  snapshots  one row per graph: its date, ASes and adjacencies by kind, and what\n"
    "             changed since the graph before it\n"
    "  ases       one row per AS of each graph (and per AS gone since the graph before):\n"
    "             degree, providers, customers, peers, unknown, new and gone adjacencies\n"
    "  history    one row per adjacency of any graph: first and last seen, in how many\n"
    "             graphs, how often it returned, its first and last relationship and how\n"
    "             often that changed\n"
    "  edges      one row per adjacency of a graph, seen from its smaller AS number: every\n"
    "             column of the edge line and the relationships they stand for\n"
    "             (p2c, c2p, p2p or unknown)\n"
    "  nodes      one row per AS number of either graph, ascending: `as' and `in'\n"
    "             (first, second or both), as plandrex -l lists them\n"
    "\n"
    "A graph's date is the one --dates gives it, else the first YYYYMMDD or YYYY-MM-DD in\n"
    "its base name (years 1970-2100), else none. Dates that go backwards are refused\n"
    "unless --unordered is given.\n"
    "\n"
    "Options:\n"
    "  -o FILE             write the table to FILE (replaced only when complete)\n"
    "  --json              JSON Lines: one object per row\n"
    "  --base              report: every later graph against the first\n"
    "  --dates D1,D2,...   the graphs' dates, YYYY-MM-DD, one per graph in order\n"
    "  --unordered         accept dates that go backwards (the graphs stay in order)\n"
    "  --quiet             no progress display on a terminal\n"
    "  --help              print this help and exit\n"
    "  --version           print the version and exit\n"
    "\n"
    "Figure options (report and snapshots):\n"
    "  --plot FILE.svg     also draw the series as an SVG figure\n"
    "  --figures LIST      the columns to draw, by name, separated by commas\n"
    "  --log               a logarithmic axis for the levels\n"
    "  --title TEXT        the figure's title\n"
    "  --size WxH          the figure's size in inches (default 7x4.5)\n"
    "  --per-interval      changes as counts per interval, not per year\n"
    "\n"
    "Exit status: 0 success, 1 command line rejected, 2 an input cannot be opened,\n"
    "3 an input is not a valid graph file or the output cannot be written.\n";

int printAndFlush(const char* text) {
  return printProgramInfo([text](FILE* out) { std::fputs(text, out); }, stdout, stderr);
}

// edges and nodes: read every input, then write the rows. progress: for nodes, which reads two.
int runGraphTable(const TableOptions& options, bool progress, FILE* err) {
  std::vector<ASGraph> graphs(options.inputs.size());
  OutputFile table;
  if (!openTableOutput(table, options.outputFile, options.inputs, err)) {
    return kExitUnwritableOrInvalid;
  }
  SeriesReader reader(options, progress && graphs.size() > 1, err);
  for (std::size_t i = 0; i < graphs.size(); ++i) {
    if (!reader.read(i, graphs[i])) {
      const int status = reader.fail();
      table.finish(false);
      return status;
    }
  }
  reader.done();
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

// The figure's columns and size, checked before anything is opened or read.
bool figureSeriesChosen(const TableOptions& options, std::string& reason) {
  std::vector<FigureSeries> chosen;
  return chooseFigureSeries(
      options.command == TableCommand::kSnapshots ? snapshotFigureSeries() : reportFigureSeries(),
      options.figure, chosen, reason);
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
  if (!options.figure.file.empty() && !figureSeriesChosen(options, reason)) {
    return reportSyntaxError(stderr, "plandrex-table", reason.c_str());
  }
  // Running out of memory ends the run with status 3 and leaves any -o target as it was.
  return runWithinMemory(
      [&options] {
        const bool progress = !options.quiet && isatty(STDERR_FILENO) == 1;
        switch (options.command) {
          case TableCommand::kReport:
            return runReportTable(options, progress, stderr);
          case TableCommand::kEdges:
          case TableCommand::kNodes:
            return runGraphTable(options, progress, stderr);
          case TableCommand::kSnapshots:
            return runSnapshotsTable(options, progress, stderr);
          case TableCommand::kAses:
            return runAsesTable(options, progress, stderr);
          case TableCommand::kHistory:
            return runHistoryTable(options, progress, stderr);
          default:
            return runGraphTable(options, progress, stderr);
        }
      },
      stderr, kExitUnwritableOrInvalid);
}
