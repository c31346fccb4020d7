#ifndef TABLE_TABLE_OUTPUT_H_
#define TABLE_TABLE_OUTPUT_H_

#include <cstdio>
#include <string>
#include <vector>

#include "fileio/output_file.h"
#include "table/row_writer.h"

// Opens a table or plot output: standard output for an empty name, otherwise the file, refused
// when it is one of the inputs. false after the message is on err.
bool openTableOutput(OutputFile& output, const std::string& name,
                     const std::vector<std::string>& inputs, FILE* err);

// Ends a successful run's table: the rows' first write error, then the output's own finish.
// false after the message is on err.
bool finishTable(OutputFile& output, RowWriter& rows, FILE* err);

#endif  // TABLE_TABLE_OUTPUT_H_
