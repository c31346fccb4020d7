#include "importer/import_run.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "asgraph/as_graph.h"
#include "cli/exit_status.h"
#include "cli/program_info.h"
#include "cli/syntax_error.h"
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
  checks.inputs = options.inputs;
  if (!options.relationshipsFile.empty()) {
    checks.inputs.push_back(options.relationshipsFile);
  }
  OutputFile output;
  const char* name = options.outputFile.empty() ? nullptr : options.outputFile.c_str();
  if (output.open(name, checks) != OutputFile::Opening::kOpened) {
    std::fputs(output.message().c_str(), err);
    return kExitUnwritableOrInvalid;
  }
  errno = 0;
  if (!graph.writeToFile(output.stream())) {
    output.writeFailed();
  }
  if (!output.finish(true)) {
    std::fputs(output.message().c_str(), err);
    return kExitUnwritableOrInvalid;
  }
  return kExitSuccess;
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
      return result == ReadResult::kCannotOpen ? kExitDeclinedOrUnreadable
                                               : kExitUnwritableOrInvalid;
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
        return kExitDeclinedOrUnreadable;
      case ReadResult::kInvalid:
        std::fputs(reader.message().c_str(), err);
        return kExitUnwritableOrInvalid;
    }
    // Only now is the format of a detected input known.
    if (!readsRoutingTables(reader.entry()) &&
        (options.inputs.size() > 1 || !options.relationshipsFile.empty())) {
      const std::string what = options.inputs.size() > 1
                                   ? "several inputs are read as one routing table (format "
                                   : "--relationships orients routing tables (format ";
      const std::string reason = what + kRoutingTableFormat + ") only, but `" +
                                 escaped(input.c_str()) + "' is in format " + reader.entry()->name;
      return reportSyntaxError(err, "plandrex-import", reason.c_str());
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
  if (status != kExitSuccess) {
    return status;
  }
  if (!options.quiet) {
    reader.printCounts(err);
  }
  return kExitSuccess;
}

int importMain(int argc, const char* const* argv) {
  ImportOptions options;
  std::string reason;
  if (!parseImportOptions(argc, argv, options, reason)) {
    return reportSyntaxError(stderr, "plandrex-import", reason.c_str());
  }
  // The help and the version go to standard output whatever -o said before them.
  if (options.help) {
    return printProgramInfo(printImportHelp, stdout, stderr);
  }
  if (options.version) {
    return printProgramInfo(printImportVersion, stdout, stderr);
  }
  return runWithinMemory([&options] { return runImport(options, stderr); }, stderr,
                         kExitUnwritableOrInvalid);
}
