#ifndef ENGINE_DIFF_GRAPH_WRITER_H_
#define ENGINE_DIFF_GRAPH_WRITER_H_

#include "asgraph/as_graph.h"
#include "asgraph/graph_file_writer.h"
#include "engine/cmd_line_parameters.h"

// Writes to writer's stream the file that makeDiffGraph's graph would give: run into a graph
// that holds only labels' differential flag, source names and comment, then written with
// writeToFile. The graph is never built: a first merge finds its nodes and counts its edges
// for the header, a second writes each edge line from the two inputs' records, so that an
// overlap of millions of adjacencies takes neither the memory nor the insertions of a graph.
// Neither input is changed. false: a write failed, and writer.reason() tells which; nothing
// is written after it.
bool writeDiffGraph(GraphFileWriter& writer, cmdLineParameters& params, ASGraph& graph1,
                    ASGraph& graph2, ASGraph& labels);

#endif  // ENGINE_DIFF_GRAPH_WRITER_H_
