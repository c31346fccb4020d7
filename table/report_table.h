#ifndef TABLE_REPORT_TABLE_H_
#define TABLE_REPORT_TABLE_H_

#include <cstdio>

#include "table/table_options.h"

// `plandrex-table report`: one row of plandrex's 25 report figures per consecutive pair of
// inputs (with --base, per later input against the first), and with --plot the series as an
// SVG chart. progress: standard error is a terminal and --quiet was not given. Returns the exit
// status after any failure has been written to err.
int runReportTable(const TableOptions& options, bool progress, FILE* err);

#endif  // TABLE_REPORT_TABLE_H_
