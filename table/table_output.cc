#include "table/table_output.h"

#include <cerrno>

bool openTableOutput(OutputFile& output, const std::string& name,
                     const std::vector<std::string>& inputs, FILE* err) {
  OutputFile::Checks checks;
  for (const std::string& input : inputs) {
    checks.inputs.push_back(input.c_str());
  }
  if (output.open(name.empty() ? nullptr : name.c_str(), checks) == OutputFile::Opening::kOpened) {
    return true;
  }
  std::fputs(output.message().c_str(), err);
  return false;
}

bool finishTable(OutputFile& output, RowWriter& rows, FILE* err) {
  if (!rows.finish()) {
    errno = rows.writeError();
    output.writeFailed();
  }
  if (output.finish(true)) {
    return true;
  }
  std::fputs(output.message().c_str(), err);
  return false;
}

bool openTableAndFigure(OutputFile& table, OutputFile& figure, const TableOptions& options,
                        FILE* err) {
  if (!openTableOutput(table, options.outputFile, options.inputs, err) ||
      (!options.figure.file.empty() &&
       !openTableOutput(figure, options.figure.file, options.inputs, err))) {
    table.finish(false);
    return false;
  }
  return true;
}

bool finishTableAndFigure(OutputFile& table, RowWriter& rows, OutputFile& figure,
                          const TableOptions& options, FILE* err) {
  if (!finishTable(table, rows, err)) {
    figure.finish(false);
    return false;
  }
  if (!options.figure.file.empty() && !figure.finish(true)) {
    std::fputs(figure.message().c_str(), err);
    return false;
  }
  return true;
}
