#ifndef TABLE_TABLE_OPTIONS_H_
#define TABLE_TABLE_OPTIONS_H_

#include <string>
#include <vector>

#include "table/row_writer.h"

enum class TableCommand { kNone, kReport, kEdges, kNodes };

// The parsed command line of plandrex-table.
struct TableOptions {
  TableCommand command = TableCommand::kNone;
  std::vector<std::string> inputs;  // "-" stands for standard input
  std::string outputFile;           // empty: standard output
  std::string plotFile;             // report only; empty: no plot
  TableFormat format = TableFormat::kCsv;
  bool base = false;   // report: every later input against the first
  bool quiet = false;  // report: no progress display
  bool help = false;
  bool version = false;
};

// Reads argv[1..argc-1]: "report", "edges" or "nodes", then its options and inputs in any order
// ("--" ends the options; "-" is an input). false: reason says why.
bool parseTableOptions(int argc, const char* const* argv, TableOptions& options,
                       std::string& reason);

#endif  // TABLE_TABLE_OPTIONS_H_
