#include "plandrex/driver.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "asgraph/as_graph.h"
#include "asgraph/graph_file_writer.h"
#include "cli/exit_status.h"
#include "cli/graph_input.h"
#include "consoletools/overwrite_question.h"
#include "engine/cmd_line_parameters.h"
#include "engine/diff_graph.h"
#include "engine/diff_graph_writer.h"
#include "engine/multi_diff_graph.h"
#include "engine/node_compare.h"
#include "engine/report_figures.h"
#include "fileio/output_file.h"
#include "plandrex/banner.h"
#include "plandrex/error_messages.h"
#include "text/escaped_text.h"

namespace {

// What one run carries besides its graphs.
struct Run {
  cmdLineParameters& params;
  bool interactive;
  // Standard output, or the -o file, which takes the target's place only when the run succeeds.
  OutputFile& outputFile;
  FILE* out;
};

// Failure headlines for one input slot. The first two take the input name; the standard-input
// headline has no placeholder.
struct InputMessages {
  const char* cannotOpen;
  const char* notAGraphFile;
  const char* stdinNotAGraph;
};

const InputMessages kMultiInput = {
    kCannotOpenGraphFile,
    kNotAGraphFile,
    "Graph from stdin does not appear to be a valid graph:\n",
};
const InputMessages kLeftInput = {
    kCannotOpenSourceFile,
    kNotAGraphFile,
    "Left input does not appear to be a valid graph:\n",
};
const InputMessages kRightInput = {
    kCannotOpenSourceFile,
    kNotAGraphFile,
    "Right input does not appear to be a valid graph:\n",
};

// One error block on standard error: the banner unless one was already written in this run, the
// headline (name, escaped, fills its placeholder, if it has one), then the detail line.
void reportError(const char* headline, const char* name, const char* detailFormat,
                 const char* detail) {
  printHeader(stderr);
  fprintf(stderr, headline, escaped(name).c_str());
  fprintf(stderr, detailFormat, detail);
}

// Status messages go to standard output whatever -o says, and only in an interactive run.
void tellStatus(const Run& run, const char* text) {
  if (run.interactive) {
    fputs(text, stdout);
  }
}

// Reading leaves errno at whatever its last conversion set; a stream error found when the output
// is closed takes its text from errno and must not show that stale value.
void clearStaleErrno() { errno = 0; }

// Reads one input ("-" is standard input) into graph. Returns 0, or the exit status after the
// failure has been reported.
int readInput(const Run& run, const char* name, ASGraph& graph, const InputMessages& messages) {
  std::string reason;
  const GraphReading reading = readGraphFile(name, graph, reason, [&run, name] {
    if (run.interactive) {
      printf("Reading graph file `%s'...\n", escaped(name).c_str());
    }
  });
  switch (reading) {
    case GraphReading::kRead:
      break;
    case GraphReading::kCannotOpen:
      reportError(messages.cannotOpen, name, kSystemDetail, reason.c_str());
      break;
    case GraphReading::kInvalid: {
      const bool standardInput = std::strcmp(name, "-") == 0;
      reportError(standardInput ? messages.stdinNotAGraph : messages.notAGraphFile, name,
                  kReasonDetail, reason.c_str());
      break;
    }
  }
  return exitStatusOf(reading);
}

// Settles the output stream before any input is read: the same-file refusal, the overwrite
// question, then opening the -o file. The target itself is left alone until closeOutput.
// Returns 0 or the exit status.
int openOutput(Run& run) {
  OutputFile::Checks checks;
  List<char*>& names = run.params.inputFiles;
  names.goToFirst();
  if (!names.isEmpty()) {
    do {
      checks.inputs.emplace_back(names.current());
    } while (names.next());
  }
  if (!run.params.force) {
    checks.mayOverwrite = askOverwrite;
  }
  switch (run.outputFile.open(run.params.outputFile, checks)) {
    case OutputFile::Opening::kOpened:
      run.out = run.outputFile.stream();
      return kExitSuccess;
    case OutputFile::Opening::kDeclined:
      return kExitDeclinedOrUnreadable;
    case OutputFile::Opening::kRefused:
      break;
  }
  printHeader(stderr);
  fputs(run.outputFile.message().c_str(), stderr);
  return kExitUnwritableOrInvalid;
}

void writeGraph(Run& run, ASGraph& graph) {
  if (!graph.writeToFile(run.out)) {
    run.outputFile.writeFailed();
  }
}

// The overlap or complementary graph of first and second, labelled as labels is, written as
// writeGraph would write it once built.
void writeComparedGraph(Run& run, ASGraph& first, ASGraph& second, ASGraph& labels) {
  GraphFileWriter writer(run.out);
  if (!writeDiffGraph(writer, run.params, first, second, labels)) {
    run.outputFile.writeFailed();
  }
}

// Gives the graph the comment and the input names, as every written graph carries them.
void labelGraph(const Run& run, ASGraph& graph) {
  graph.setComment(run.params.comment);
  graph.setSourceFiles(run.params.inputFiles, false);
}

int runMulti(Run& run, ASGraph& multi, ASGraph& input) {
  List<char*>& names = run.params.inputFiles;
  names.goToFirst();
  do {
    input = ASGraph();
    const int status = readInput(run, names.current(), input, kMultiInput);
    if (status != kExitSuccess) {
      return status;
    }
    if (input.isDifferential()) {
      tellStatus(run, "Warning: Current graph is a differential graph\n");
    }
    tellStatus(run, "Updating statistics...\n");
    graphCompare(multi, input);
  } while (names.next());

  tellStatus(run, "Postprocessing multi-differential graph...\n");
  updateMeans(multi);
  tellStatus(run, "Saving graph to file...\n");
  clearStaleErrno();
  multi.isDifferential() = true;
  labelGraph(run, multi);
  writeGraph(run, multi);
  return kExitSuccess;
}

// Default report, -l, --over and --comp: the first input is the first name, the second input
// the last one.
int runTwoInputs(Run& run, ASGraph& first, ASGraph& second, ASGraph& output) {
  cmdLineParameters& params = run.params;
  int status = readInput(run, params.inputFiles.first(), first, kLeftInput);
  if (status != kExitSuccess) {
    return status;
  }
  if (first.isDifferential()) {
    tellStatus(run, "Warning: first input is a differential graph\n");
  }
  status = readInput(run, params.inputFiles.last(), second, kRightInput);
  if (status != kExitSuccess) {
    return status;
  }
  if (second.isDifferential()) {
    tellStatus(run, "Warning: second input is a differential graph\n");
  }

  tellStatus(run, "Computing differences...\n");
  ComparisonFigures figures;
  figures.nodes1 = first.nodes();
  figures.nodes2 = second.nodes();
  figures.edges1 = first.edges();
  figures.edges2 = second.edges();
  clearStaleErrno();
  const bool report = !params.listMode && !params.buildGraph;
  // The node comparison feeds the report and the node list only.
  if (report || params.listMode) {
    nodeCmp(run.out, params, first, second, figures.counts);
  }
  if (report) {
    printReportLines(run.out, figures, 0, kNodeFigures);
    // Without a formula no edge goes to the output graph: only the counters come of it, and
    // only the report shows them.
    makeDiffGraph(run.out, params, first, second, output, figures.counts);
    printReportLines(run.out, figures, kNodeFigures, kReportFigureCount);
  }

  if (params.buildGraph) {
    tellStatus(run, "Saving graph to file...\n");
    // An overlap graph is differential; a complementary graph keeps its edges as they were.
    // The graph goes to the output as it is found, never built: output only carries the labels.
    output.isDifferential() = params.overConditions.len() != 0;
    labelGraph(run, output);
    writeComparedGraph(run, first, second, output);
  }
  return kExitSuccess;
}

// Ends the output stream. A run that failed leaves the -o target as it was; otherwise the -o
// file takes the target's place, or standard output is flushed. A write that failed at any point
// (a full disk shows up only on the last flush of a small report) is reported and gives status 3
// rather than passing for success.
int closeOutput(Run& run, int status) {
  if (run.outputFile.finish(status == kExitSuccess)) {
    return status;
  }
  printHeader(stderr);
  fputs(run.outputFile.message().c_str(), stderr);
  return kExitUnwritableOrInvalid;
}

}  // namespace

int runDriver(cmdLineParameters& params, ASGraph& first, ASGraph& second, ASGraph& output,
              bool stdinIsTerm, bool stdoutIsTerm) {
  OutputFile outputFile;
  Run run{params, stdinIsTerm && stdoutIsTerm, outputFile, stdout};
  if (run.interactive) {
    printHeader(stdout);
  }
  const int opened = openOutput(run);
  if (opened != kExitSuccess) {
    return opened;
  }
  const int status =
      params.multiMode ? runMulti(run, first, second) : runTwoInputs(run, first, second, output);
  return closeOutput(run, status);
}
