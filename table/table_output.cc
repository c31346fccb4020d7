#include "table/table_output.h"

#include <cerrno>

bool openTableOutput(OutputFile& output, const std::string& name,
                     const std::vector<std::string>& inputs, FILE* err,
                     const std::vector<std::string>& earlierOutputs) {
  OutputFile::Checks checks;
  checks.inputs = inputs;
  checks.outputs = earlierOutputs;
  if (output.open(name.empty() ? nullptr : name.c_str(), checks) == OutputFile::Opening::kOpened) {
    return true;
  }
  std::fputs(output.message().c_str(), err);
  return false;
}

bool finishTable(OutputFile& output, RowWriter& rows, FILE* err, OutputFile* plot) {
  if (!rows.finish()) {
    errno = rows.writeError();
    output.writeFailed();
  }
  OutputFile unused;
  std::string message;
  if (finishTogether({&output, plot != nullptr ? plot : &unused}, message)) {
    return true;
  }
  std::fputs(message.c_str(), err);
  return false;
}

bool openTableAndFigure(OutputFile& table, OutputFile& figure, const TableOptions& options,
                        FILE* err) {
  if (!openTableOutput(table, options.outputFile, options.inputs, err) ||
      (!options.figure.file.empty() &&
       !openTableOutput(figure, options.figure.file, options.inputs, err, {options.outputFile}))) {
    table.finish(false);
    return false;
  }
  return true;
}

bool finishTableAndFigure(OutputFile& table, RowWriter& rows, OutputFile& figure,
                          const TableOptions& options, FILE* err) {
  if (options.figure.file.empty()) {
    return finishTable(table, rows, err);
  }
  // The figure was written just before: its failed write's own errno, before finishing the table
  // can change it.
  if (std::ferror(figure.stream())) {
    figure.writeFailed();
  }
  return finishTable(table, rows, err, &figure);
}
