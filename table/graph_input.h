#ifndef TABLE_GRAPH_INPUT_H_
#define TABLE_GRAPH_INPUT_H_

#include <cstdio>
#include <string>

#include "asgraph/as_graph.h"

// Exit statuses, the same as plandrex's: scripts test them.
constexpr int kTableSuccess = 0;
constexpr int kTableBadCommandLine = 1;
constexpr int kTableCannotOpen = 2;
constexpr int kTableInvalid = 3;

// Reads the graph file name ("-" is standard input) into graph, which must be empty. Returns
// kTableSuccess, or the status with the line to show in message ("NAME: reason\n"): the
// system's reason when the file cannot be opened (kTableCannotOpen), the reader's when it is not
// a graph file (kTableInvalid).
int readGraphInput(const std::string& name, ASGraph& graph, std::string& message);

// The last part of a path: what follows its last slash.
std::string pathBaseName(const std::string& path);

#endif  // TABLE_GRAPH_INPUT_H_
