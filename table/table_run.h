#ifndef TABLE_TABLE_RUN_H_
#define TABLE_TABLE_RUN_H_

// plandrex-table's whole run, from the command line to the exit status.
int tableMain(int argc, const char* const* argv);

#endif  // TABLE_TABLE_RUN_H_
