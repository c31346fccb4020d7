// Checks shared by the importer's fuzz targets: the input handed over as a
// file, messages free of raw control bytes, and graphs that read back.
#ifndef FUZZ_IMPORT_FUZZ_CHECKS_H_
#define FUZZ_IMPORT_FUZZ_CHECKS_H_

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "asgraph/as_graph.h"
#include "importer/format_registry.h"
#include "importer/import_reader.h"

namespace import_fuzz {

[[noreturn]] inline void fault(const char* what, const std::string& detail = "") {
  std::fprintf(stderr, "%s%s%s\n", what, detail.empty() ? "" : ": ", detail.c_str());
  std::abort();
}

// The importer opens inputs by name: the bytes go to one file, emptied for
// every input, named through /proc so that each open starts at its beginning.
inline std::string inputFile(const std::uint8_t* data, std::size_t size) {
  static FILE* const file = std::tmpfile();
  if (file == nullptr || ftruncate(fileno(file), 0) != 0) {
    fault("no temporary file");
  }
  std::rewind(file);
  if (std::fwrite(data, 1, size, file) != size || std::fflush(file) != 0) {
    fault("temporary file not written");
  }
  return "/proc/self/fd/" + std::to_string(fileno(file));
}

// A message ends in one line feed; before it, the only control bytes are the
// line feeds that separate its lines and tabs: whatever the input held is
// escaped.
inline void checkMessage(const std::string& message) {
  if (message.empty() || message.back() != '\n') {
    fault("message without its line end", message);
  }
  for (char c : message) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && byte != '\t' && byte != '\n') || byte == 0x7f) {
      fault("raw control byte in a message", message);
    }
  }
}

inline std::string written(ASGraph& graph) {
  char* text = nullptr;
  std::size_t length = 0;
  FILE* stream = open_memstream(&text, &length);
  if (stream == nullptr) {
    fault("no memory stream");
  }
  if (!graph.writeToFile(stream)) {
    fault("graph not written", graph.errReason());
  }
  std::fclose(stream);
  std::string bytes(text, length);
  std::free(text);
  return bytes;
}

// Every graph the importer makes must be sound and must read back as itself:
// a graph file it writes that plandrex cannot read is lost work. The graph
// gets a source file name first, as plandrex-import gives it.
inline std::string checkGraphReadsBack(ASGraph& graph) {
  List<char*> names;
  char name[] = "input";
  names.enqueue(name);
  graph.setSourceFiles(names, true);
  const char* why = nullptr;
  if (!graph.isValid(&why)) {
    fault("unsound graph", why);
  }
  const std::string bytes = written(graph);
  FILE* stream = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "r");
  if (stream == nullptr) {
    fault("no memory stream");
  }
  ASGraph again;
  const bool ok = again.readFromFile(stream);
  std::fclose(stream);
  if (!ok) {
    fault("the graph written does not read back", again.errReason());
  }
  if (written(again) != bytes) {
    fault("the graph read back differs", bytes);
  }
  return bytes;
}

// The graph of a routing table read `times' times as one table in format;
// empty when refused, refusal then holding the message (checked).
inline std::string routingTableGraph(const std::string& name, const FormatEntry* format,
                                     const ImportSettings& settings, int times,
                                     std::string& refusal) {
  ImportReader reader;
  for (int i = 0; i < times; ++i) {
    if (reader.read(name.c_str(), format, false, settings) != ReadResult::kRead) {
      refusal = reader.message();
      checkMessage(refusal);
      return "";
    }
  }
  ASGraph graph;
  reader.import()->buildGraph(graph);
  return checkGraphReadsBack(graph);
}

}  // namespace import_fuzz

#endif  // FUZZ_IMPORT_FUZZ_CHECKS_H_
