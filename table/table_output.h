#ifndef TABLE_TABLE_OUTPUT_H_
#define TABLE_TABLE_OUTPUT_H_

#include <cstdio>
#include <string>
#include <vector>

#include "fileio/output_file.h"
#include "table/row_writer.h"
#include "table/table_options.h"

// Opens a table or plot output: standard output for an empty name, otherwise the file, refused
// when it is one of the inputs. false after the message is on err.
bool openTableOutput(OutputFile& output, const std::string& name,
                     const std::vector<std::string>& inputs, FILE* err);

// Ends a successful run's table: the rows' first write error, then the output's own finish.
// false after the message is on err.
bool finishTable(OutputFile& output, RowWriter& rows, FILE* err);

// Opens the table's output and, when --plot names one, the figure's. false after the message is
// on err, neither left behind.
bool openTableAndFigure(OutputFile& table, OutputFile& figure, const TableOptions& options,
                        FILE* err);

// Ends a successful run: the table, then the figure when --plot named one (its bytes written).
// false after the message is on err; a figure is not kept when its table failed.
bool finishTableAndFigure(OutputFile& table, RowWriter& rows, OutputFile& figure,
                          const TableOptions& options, FILE* err);

#endif  // TABLE_TABLE_OUTPUT_H_
