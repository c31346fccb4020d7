// Feeds arbitrary bytes to the graph file reader, checks the graph it leaves
// behind, then writes whatever it read to a memory stream: the reader must
// never crash or leak on any input, the graph must stay sound (every
// adjacency mirrored at both ends, counts right), and the writer must cope
// with whatever the reader left in the graph. A file holding the same bytes,
// which the reader takes in large blocks rather than line by line, must give
// the same result and reason.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "asgraph/as_graph.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FILE* input = fmemopen(const_cast<std::uint8_t*>(data), size, "r");
  if (input == nullptr) {
    return 0;
  }
  ASGraph graph;
  bool ok = graph.readFromFile(input);
  std::fclose(input);
  if (ok && graph.errReason()[0] != '\0') {
    std::abort();
  }
  if (!ok && graph.errReason()[0] == '\0') {
    std::abort();
  }
  // One file for every input, emptied each time: a new file per input would
  // cost more than the read.
  static FILE* const file = std::tmpfile();
  if (file != nullptr && ftruncate(fileno(file), 0) == 0) {
    std::rewind(file);
    if (std::fwrite(data, 1, size, file) == size && std::fflush(file) == 0) {
      std::rewind(file);
      ASGraph fromFile;
      const bool fileOk = fromFile.readFromFile(file);
      if (fileOk != ok || std::strcmp(fromFile.errReason(), graph.errReason()) != 0 ||
          fromFile.nodes() != graph.nodes() || fromFile.edges() != graph.edges()) {
        std::fprintf(stderr, "a file read differs: `%s' against `%s'\n", fromFile.errReason(),
                     graph.errReason());
        std::abort();
      }
    }
  }

  const char* why = nullptr;
  if (!graph.isValid(&why)) {
    std::fprintf(stderr, "graph left unsound by the reader: %s\n", why);
    std::abort();
  }

  char* text = nullptr;
  std::size_t length = 0;
  FILE* output = open_memstream(&text, &length);
  if (output != nullptr) {
    if (!graph.writeToFile(output)) {
      std::abort();
    }
    std::fclose(output);
    std::free(text);
  }
  return 0;
}
