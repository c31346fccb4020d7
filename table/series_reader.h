#ifndef TABLE_SERIES_READER_H_
#define TABLE_SERIES_READER_H_

#include <cstddef>
#include <cstdio>
#include <string>

#include "asgraph/as_graph.h"
#include "table/graph_date.h"
#include "table/row_writer.h"
#include "table/table_options.h"
#include "table/table_progress.h"

// Reads the graphs of a command line one at a time, as the series commands do, with the progress
// display; the first failure is kept for fail().
class SeriesReader {
 public:
  SeriesReader(const TableOptions& options, bool progressShown, FILE* err);

  std::size_t count() const { return options.inputs.size(); }
  // Empties graph and reads input index into it. false: it failed; call fail().
  bool read(std::size_t index, ASGraph& graph);
  // After a failed read: the progress goes and the message comes. Returns the exit status; the
  // caller leaves its outputs as they were.
  int fail();
  // After the last read.
  void done() { progress.erase(); }

 private:
  const TableOptions& options;
  FILE* err;
  TableProgress progress;
  int status = 0;
  std::string message;
};

// A date cell: ISO, or empty (null in JSON Lines) for none.
void writeDateCell(RowWriter& rows, const GraphDate& date);

#endif  // TABLE_SERIES_READER_H_
