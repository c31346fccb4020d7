#include "importer/import_run.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "asgraph/as_graph.h"
#include "fileio/failure_errno.h"
#include "fileio/out_of_memory.h"
#include "fileio/output_file.h"
#include "importer/format_registry.h"
#include "importer/import_help.h"
#include "importer/import_options.h"
#include "importer/import_reader.h"
#include "importer/relationship_table.h"
#include "text/escaped_text.h"

namespace {

// Writes the graph to standard output or the -o file; the output is refused when it is one of
// the files the run read. Returns the exit status after reporting a failure.
int writeOutput(const ImportOptions& options, ASGraph& graph, FILE* err) {
  OutputFile::Checks checks;
  for (const std::string& input : options.inputs) {
    checks.inputs.push_back(input.c_str());
  }
  if (!options.relationshipsFile.empty()) {
    checks.inputs.push_back(options.relationshipsFile.c_str());
  }
  OutputFile output;
  const char* name = options.outputFile.empty() ? nullptr : options.outputFile.c_str();
  if (output.open(name, checks) != OutputFile::Opening::kOpened) {
    std::fputs(output.message().c_str(), err);
    return kImportFailed;
  }
  errno = 0;
  if (!graph.writeToFile(output.stream())) {
    output.writeFailed();
  }
  if (!output.finish(true)) {
    std::fputs(output.message().c_str(), err);
    return kImportFailed;
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
                   what.c_str(), kRoutingTableFormat, escaped(input.c_str()).c_str(),
                   reader.entry()->name);
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

  const int status = writeOutput(options, graph, err);
  if (status != kImportSuccess) {
    return status;
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
    // The help and the version go to standard output whatever -o said before them.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
      std::fputs(cannotWriteMessage(nullptr, failureErrno()).c_str(), stderr);
      return kImportFailed;
    }
    return kImportSuccess;
  }
  return runWithinMemory([&options] { return runImport(options, stderr); }, stderr, kImportFailed);
}
