#ifndef CLI_GRAPH_INPUT_H_
#define CLI_GRAPH_INPUT_H_

#include <functional>
#include <string>

#include "asgraph/as_graph.h"

// How reading one graph input ended, and the exit status that goes with it.
enum class GraphReading {
  kRead,        // kExitSuccess
  kCannotOpen,  // kExitDeclinedOrUnreadable; the reason is the system's
  kInvalid,     // kExitUnwritableOrInvalid; the reason is the reader's
};
int exitStatusOf(GraphReading reading);

// Reads the graph file name ("-" is standard input) into graph, which must be empty. opened (when
// set) is called once a named file is open, before it is read. reason tells why it failed.
GraphReading readGraphFile(const std::string& name, ASGraph& graph, std::string& reason,
                           const std::function<void()>& opened = nullptr);

// readGraphFile, the result as an exit status, a failure as the line to show in message:
// "NAME: reason\n", the name escaped as messages quote names.
int readGraphInput(const std::string& name, ASGraph& graph, std::string& message);

#endif  // CLI_GRAPH_INPUT_H_
