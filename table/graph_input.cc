#include "table/graph_input.h"

#include <cerrno>
#include <cstring>

#include "text/escaped_text.h"

int readGraphInput(const std::string& name, ASGraph& graph, std::string& message) {
  const bool standardInput = name == "-";
  FILE* file = standardInput ? stdin : std::fopen(name.c_str(), "r");
  if (file == nullptr) {
    message = escaped(name.c_str()) + ": " + std::strerror(errno) + "\n";
    return kTableCannotOpen;
  }
  const bool valid = graph.readFromFile(file);
  if (!standardInput) {
    std::fclose(file);
  }
  if (!valid) {
    message = escaped(name.c_str()) + ": " + graph.errReason() + "\n";
    return kTableInvalid;
  }
  return kTableSuccess;
}
