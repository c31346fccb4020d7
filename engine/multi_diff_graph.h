#ifndef ENGINE_MULTI_DIFF_GRAPH_H_
#define ENGINE_MULTI_DIFF_GRAPH_H_

#include "asgraph/as_graph.h"

// Folds one more input into the multi-differential graph: every adjacency of input becomes, or
// adds one appearance to, an unoriented edge of multiGraph whose records count the appearances
// by orientation and track the runs of unchanged orientation. input is only read.
void graphCompare(ASGraph& multiGraph, ASGraph& input);

// Folds the current run of every edge into its orientation stability, which then is the mean
// length of all runs. Call once, after the last graphCompare: a second call would count the
// current run again.
void updateMeans(ASGraph& multiGraph);

#endif  // ENGINE_MULTI_DIFF_GRAPH_H_
