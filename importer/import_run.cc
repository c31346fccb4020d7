#include "importer/import_run.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "asgraph/as_graph.h"
#include "fileio/replacing_output.h"
#include "importer/format_registry.h"
#include "importer/import_help.h"
#include "importer/import_options.h"
#include "importer/import_reader.h"
#include "importer/relationship_table.h"

namespace {

// An errno for a stream that failed without saying why.
int errorCode() { return errno != 0 ? errno : EIO; }

int writeFailure(const ImportOptions& options, int code, FILE* err) {
  if (options.outputFile.empty()) {
    std::fprintf(err, "Unable to write to standard output\n(%s)\n", std::strerror(code));
  } else {
    std::fprintf(err, "Unable to write to file `%s'\n(%s)\n", options.outputFile.c_str(),
                 std::strerror(code));
  }
  return kImportFailed;
}

// Writes graph to standard output; false leaves the errno to report in code.
bool writeToStandardOutput(ASGraph& graph, int& code) {
  errno = 0;
  if (!graph.writeToFile(stdout) || std::fflush(stdout) != 0 || std::ferror(stdout)) {
    code = errorCode();
    return false;
  }
  return true;
}

int writeToNamedFile(const ImportOptions& options, ASGraph& graph, FILE* err) {
  ReplacingOutput output;
  if (!output.open(options.outputFile.c_str())) {
    std::fprintf(err, "Unable to open file `%s' for writing\n(%s)\n", options.outputFile.c_str(),
                 std::strerror(errorCode()));
    return kImportFailed;
  }
  errno = 0;
  if (!graph.writeToFile(output.stream())) {
    const int code = errorCode();
    output.discard();
    return writeFailure(options, code, err);
  }
  if (!output.commit()) {
    return writeFailure(options, errorCode(), err);
  }
  return kImportSuccess;
}

}  // namespace

int runImport(const ImportOptions& options, FILE* err) {
  ImportSettings settings = options.settings;
  RelationshipTable relationships;
  if (!options.relationshipsFile.empty()) {
    std::string message;
    const ReadResult result =
        readRelationshipFile(options.relationshipsFile.c_str(), relationships, message);
    if (result != ReadResult::kRead) {
      std::fputs(message.c_str(), err);
      return result == ReadResult::kCannotOpen ? kImportCannotOpenInput : kImportFailed;
    }
    settings.relationships = &relationships;
  }

  ImportReader reader;
  for (const std::string& input : options.inputs) {
    switch (reader.read(input.c_str(), options.format, false, settings)) {
      case ReadResult::kRead:
        break;
      case ReadResult::kCannotOpen:
        std::fputs(reader.message().c_str(), err);
        return kImportCannotOpenInput;
      case ReadResult::kInvalid:
        std::fputs(reader.message().c_str(), err);
        return kImportFailed;
    }
    // Only now is the format of a detected input known.
    if (!readsRoutingTables(reader.entry()) &&
        (options.inputs.size() > 1 || !options.relationshipsFile.empty())) {
      const std::string what = options.inputs.size() > 1
                                   ? "several inputs are read as one routing table (format "
                                   : "--relationships orients routing tables (format ";
      std::fprintf(err,
                   "Syntax error: %s%s) only, but `%s' is in format %s\n"
                   "Type plandrex-import --help for more information\n",
                   what.c_str(), kRoutingTableFormat, input.c_str(), reader.entry()->name);
      return kImportBadCommandLine;
    }
  }

  ASGraph graph;
  reader.import()->buildGraph(graph);
  List<char*> names;
  for (const std::string& name : options.sourceNames) {
    names.enqueue(const_cast<char*>(name.c_str()));
  }
  graph.setSourceFiles(names, true);
  const ImportFormat& format = *reader.import();
  if (!options.descriptionGiven && format.adjacenciesDropped() != 0) {
    const std::string loss = std::to_string(format.adjacenciesDropped()) + " of " +
                             std::to_string(format.adjacenciesWithDropped()) +
                             " adjacencies dropped (AS numbers above 65535)";
    graph.setComment(("classic format: " + loss).c_str());
  } else {
    graph.setComment(options.description.c_str());
  }

  if (options.outputFile.empty()) {
    int code = 0;
    if (!writeToStandardOutput(graph, code)) {
      return writeFailure(options, code, err);
    }
  } else {
    const int status = writeToNamedFile(options, graph, err);
    if (status != kImportSuccess) {
      return status;
    }
  }
  if (!options.quiet) {
    reader.printCounts(err);
  }
  return kImportSuccess;
}

int importMain(int argc, const char* const* argv) {
  ImportOptions options;
  std::string reason;
  if (!parseImportOptions(argc, argv, options, reason)) {
    std::fprintf(stderr, "Syntax error: %s\nType plandrex-import --help for more information\n",
                 reason.c_str());
    return kImportBadCommandLine;
  }
  if (options.help || options.version) {
    errno = 0;
    if (options.help) {
      printImportHelp(stdout);
    } else {
      printImportVersion(stdout);
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
      return writeFailure(options, errorCode(), stderr);
    }
    return kImportSuccess;
  }
  return runImport(options, stderr);
}
