#ifndef TABLE_TABLE_OUTPUT_H_
#define TABLE_TABLE_OUTPUT_H_

#include <cstdio>
#include <string>
#include <vector>

#include "fileio/output_file.h"
#include "table/row_writer.h"
#include "table/table_options.h"

// Opens a table or plot output: standard output for an empty name, otherwise the file, refused
// when it is one of the inputs or, under another spelling, one of the run's earlier outputs.
// false after the message is on err.
bool openTableOutput(OutputFile& output, const std::string& name,
                     const std::vector<std::string>& inputs, FILE* err,
                     const std::vector<std::string>& earlierOutputs = {});

// Ends a successful run's table, and its plot when one is given: the rows' first write error,
// then the outputs' own finish, together, so that neither target is replaced unless both are
// complete. false after the message is on err.
bool finishTable(OutputFile& output, RowWriter& rows, FILE* err, OutputFile* plot = nullptr);

// Opens the table's output and, when --plot names one, the figure's. false after the message is
// on err, neither left behind.
bool openTableAndFigure(OutputFile& table, OutputFile& figure, const TableOptions& options,
                        FILE* err);

// Ends a successful run: the table and, when --plot named one, the figure (its bytes written),
// together, as finishTable does. false after the message is on err.
bool finishTableAndFigure(OutputFile& table, RowWriter& rows, OutputFile& figure,
                          const TableOptions& options, FILE* err);

#endif  // TABLE_TABLE_OUTPUT_H_
