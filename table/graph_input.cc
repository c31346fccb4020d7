#include "table/graph_input.h"

#include <cerrno>
#include <cstring>

int readGraphInput(const std::string& name, ASGraph& graph, FILE* err) {
  if (name == "-") {
    if (!graph.readFromFile(stdin)) {
      std::fprintf(err, "%s: %s\n", name.c_str(), graph.errReason());
      return kTableInvalid;
    }
    return kTableSuccess;
  }
  FILE* file = std::fopen(name.c_str(), "r");
  if (file == nullptr) {
    std::fprintf(err, "%s: %s\n", name.c_str(), std::strerror(errno));
    return kTableCannotOpen;
  }
  const bool valid = graph.readFromFile(file);
  std::fclose(file);
  if (!valid) {
    std::fprintf(err, "%s: %s\n", name.c_str(), graph.errReason());
    return kTableInvalid;
  }
  return kTableSuccess;
}

std::string pathBaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}
