#ifndef TABLE_TABLE_OPTIONS_H_
#define TABLE_TABLE_OPTIONS_H_

#include <string>
#include <vector>

#include "table/figure_options.h"
#include "table/graph_date.h"
#include "table/row_writer.h"

enum class TableCommand { kNone, kReport, kEdges, kNodes, kSnapshots, kAses, kHistory };

// The parsed command line of plandrex-table.
struct TableOptions {
  TableCommand command = TableCommand::kNone;
  std::vector<std::string> inputs;  // "-" stands for standard input
  std::string outputFile;           // empty: standard output
  FigureOptions figure;             // report and snapshots
  TableFormat format = TableFormat::kCsv;
  bool base = false;   // report: every later input against the first
  bool quiet = false;  // commands reading a series: no progress display
  // Commands reading a series: --dates as given, and the date of every input once parsed.
  bool datesGiven = false;
  std::string datesList;
  bool unordered = false;
  std::vector<GraphDate> dates;
  bool help = false;
  bool version = false;
};

// Reads argv[1..argc-1]: the command, then its options and inputs in any order ("--" ends the
// options; "-" is an input). Fills dates for the commands that read a series. false: reason says
// why, every argument it quotes escaped.
bool parseTableOptions(int argc, const char* const* argv, TableOptions& options,
                       std::string& reason);

#endif  // TABLE_TABLE_OPTIONS_H_
