#include "cli/graph_input.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/exit_status.h"
#include "text/escaped_text.h"

int exitStatusOf(GraphReading reading) {
  switch (reading) {
    case GraphReading::kRead:
      return kExitSuccess;
    case GraphReading::kCannotOpen:
      return kExitDeclinedOrUnreadable;
    case GraphReading::kInvalid:
      break;
  }
  return kExitUnwritableOrInvalid;
}

GraphReading readGraphFile(const std::string& name, ASGraph& graph, std::string& reason,
                           const std::function<void()>& opened) {
  const bool standardInput = name == "-";
  FILE* file = standardInput ? stdin : std::fopen(name.c_str(), "r");
  if (file == nullptr) {
    reason = std::strerror(errno);
    return GraphReading::kCannotOpen;
  }
  if (!standardInput && opened) {
    opened();
  }
  const bool valid = graph.readFromFile(file);
  if (!standardInput) {
    std::fclose(file);
  }
  if (!valid) {
    reason = graph.errReason();
    return GraphReading::kInvalid;
  }
  return GraphReading::kRead;
}

int readGraphInput(const std::string& name, ASGraph& graph, std::string& message) {
  std::string reason;
  const GraphReading reading = readGraphFile(name, graph, reason);
  if (reading != GraphReading::kRead) {
    message = escaped(name.c_str()) + ": " + reason + "\n";
  }
  return exitStatusOf(reading);
}
