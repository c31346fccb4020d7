#include "table/series_reader.h"

#include "cli/exit_status.h"
#include "cli/graph_input.h"

SeriesReader::SeriesReader(const TableOptions& options, bool progressShown, FILE* err)
    : options(options), err(err), progress(progressShown, err, options.inputs.size()) {}

bool SeriesReader::read(std::size_t index, ASGraph& graph) {
  progress.show(index, options.inputs[index]);
  graph = ASGraph();
  status = readGraphInput(options.inputs[index], graph, message);
  return status == kExitSuccess;
}

int SeriesReader::fail() {
  // The failure's line comes after the progress display is gone.
  progress.erase();
  std::fputs(message.c_str(), err);
  return status;
}

void writeDateCell(RowWriter& rows, const GraphDate& date) {
  if (date.known) {
    rows.word(isoDate(date).c_str());
  } else {
    rows.empty();
  }
}
