#include "table/graph_input.h"

#include <cerrno>
#include <cstring>

int readGraphInput(const std::string& name, ASGraph& graph, std::string& message) {
  const bool standardInput = name == "-";
  FILE* file = standardInput ? stdin : std::fopen(name.c_str(), "r");
  if (file == nullptr) {
    message = name + ": " + std::strerror(errno) + "\n";
    return kTableCannotOpen;
  }
  const bool valid = graph.readFromFile(file);
  if (!standardInput) {
    std::fclose(file);
  }
  if (!valid) {
    message = name + ": " + graph.errReason() + "\n";
    return kTableInvalid;
  }
  return kTableSuccess;
}

std::string pathBaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}
